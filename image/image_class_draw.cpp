// The one ImageClass operation that needs GL; kept apart so the pixel
// operations build and test without a context.
#include <GL/gl.h>

#include <cassert>

#include "image/image_class.h"

void ImageClass::Draw() const {
    assert(image);
    // Rows are packed with no padding; the GL's default alignment of 4 would
    // shear every picture whose row is not a multiple of 4 bytes.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelZoom(1.0f, 1.0f);
    glRasterPos2i(posX, posY);
    glDrawPixels(image->sizeX, image->sizeY, GL_RGB, GL_UNSIGNED_BYTE, image->data.get());
}
