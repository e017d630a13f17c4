#include "dark_pass/dark_colours.h"
#include "dark_pass/dark_pass_kernels.h"

void MarkDarkRunScalar(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels) {
    for (std::size_t i = 0; i < 3 * pixels; i += 3) {
        if (IsDarkColour(src[i], src[i + 1], src[i + 2])) {
            dst[i] = dst[i + 1] = dst[i + 2] = 0;
        }
    }
}
