// The one ImageClass operation that needs GL; kept apart so the pixel
// operations build and test without a context.
#include <GL/gl.h>

#include <algorithm>
#include <cassert>
#include <cstdint>

#include "image_class/image_class.h"

void ImageClass::Draw() const {
    assert(image);
    glPixelZoom(1.0f, 1.0f);
    glRasterPos2i(posX, posY);
    // Hand the GL only the columns and rows that can land in the viewport, so
    // that no GL has to walk a picture far larger than the window on every
    // repaint. They always start at the picture's first column and row: a
    // corner left of or below the viewport is outside the view volume, and
    // the GL then draws nothing at all.
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    const auto width = std::min<std::int64_t>(image->sizeX, std::int64_t{viewport[0]} + viewport[2] - posX);
    const auto height = std::min<std::int64_t>(image->sizeY, std::int64_t{viewport[1]} + viewport[3] - posY);
    if (width <= 0 || height <= 0) {
        return;
    }
    // Rows are packed with no padding; the GL's default alignment of 4 would
    // shear every picture whose row is not a multiple of 4 bytes.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, image->sizeX);
    glDrawPixels(static_cast<GLsizei>(width), static_cast<GLsizei>(height), GL_RGB, GL_UNSIGNED_BYTE,
                 image->data.get());
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}
