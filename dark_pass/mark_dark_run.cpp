#include "dark_pass/mark_dark_run.h"

#include <cassert>

#include "dark_pass/dark_pass_kernels.h"

void MarkDarkRun(std::span<const std::uint8_t> source, std::span<std::uint8_t> result) {
    assert(source.size() == result.size() && source.size() % 3 == 0);
    static const DarkPassKernel run = AvailableDarkPassKernels().front().run;
    run(source.data(), result.data(), source.size() / 3);
}
