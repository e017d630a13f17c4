#include "app/mark_dark_pixels.h"

#include <cassert>
#include <cstddef>

#include "app/dark_pass_kernels.h"
#include "image/image_class.h"

void MarkDarkPixels(const ImageClass& source, ImageClass& result) {
    assert(source.SizeX() == result.SizeX() && source.SizeY() == result.SizeY());
    // Which pixel is visited when cannot be seen, so both pictures are walked
    // once in memory order, as one run of pixels.
    static const DarkPassKernel run = AvailableDarkPassKernels().front().run;
    const std::size_t pixels = static_cast<std::size_t>(source.SizeX()) * static_cast<std::size_t>(source.SizeY());
    run(source.Data(), result.Data(), pixels);
}
