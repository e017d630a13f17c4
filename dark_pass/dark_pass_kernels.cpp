#include "dark_pass/dark_pass_kernels.h"

#include <vector>

namespace {

std::vector<NamedDarkPassKernel> RunnableKernels() {
    std::vector<NamedDarkPassKernel> kernels;
#if defined(__SSE2__) && !defined(IMAGE_BORDER_PLAIN_CXX)
    __builtin_cpu_init();
    // Also false where the system does not save the wide registers.
    if (__builtin_cpu_supports("avx2")) {
        kernels.push_back({"avx2", MarkDarkRunAvx2});
    }
    kernels.push_back({"sse2", MarkDarkRunSse2});
#endif
    kernels.push_back({"scalar", MarkDarkRunScalar});
    return kernels;
}

}  // namespace

std::span<const NamedDarkPassKernel> AvailableDarkPassKernels() {
    static const std::vector<NamedDarkPassKernel> kernels = RunnableKernels();
    return kernels;
}
