#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// The dark-pixel pass over a run of packed red-green-blue pixels: every pixel
// of src whose colour is dark is painted black at the same place in dst; the
// other bytes of dst are left as they are. Each kernel gives the same result;
// they differ in the instructions they need.
using DarkPassKernel = void (*)(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels);

struct NamedDarkPassKernel {
    const char* name;
    DarkPassKernel run;
};

// One pixel at a time, in plain C++: runs anywhere.
void MarkDarkRunScalar(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels);

#if defined(__SSE2__) && !defined(IMAGE_BORDER_PLAIN_CXX)
// Sixteen pixels at a time with SSE2, which every x86-64 has.
void MarkDarkRunSse2(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels);
// Sixteen pixels at a time with AVX2: only where the processor has it.
void MarkDarkRunAvx2(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels);
#endif

// The kernels this processor can run, the fastest first.
std::span<const NamedDarkPassKernel> AvailableDarkPassKernels();
