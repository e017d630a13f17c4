// pass_bench: the dark-pixel pass against the pass as first written (column by
// column, each pixel's intensity asked and each mark set through ImageClass)
// and against the floor, one memcpy of the picture's bytes into the result, on
// five 6000 x 4000 pictures: a photo, the photo crossed by a grid of dark
// outlines, noise with every component in 0..31, an all-black picture, and
// colours of intensity 4 or 5 at random, half dark and half not.
//
// Each iteration starts from an all-white result; whitening it is not timed.
// BM_DarkPassKernel/<kernel>/<input> times each kernel this processor can run
// (MarkDarkRun uses the first): what a processor without AVX2 would get.

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "dark_pass/dark_pass_kernels.h"
#include "dark_pass/mark_dark_run.h"
#include "bench/bench_pictures.h"
#include "image_class/image_class.h"
#include "image_class/point_intensity.h"
#include "reference_pass.h"

namespace {

constexpr std::int32_t kWidth = 6000;
constexpr std::int32_t kHeight = 4000;
constexpr std::size_t kBytes = std::size_t{3} * kWidth * kHeight;
constexpr std::int32_t kGridSpacing = 40;

void CopyPicture(const ImageClass& source, ImageClass& result) { std::memcpy(result.Data(), source.Data(), kBytes); }

std::unique_ptr<ImageClass> Photo() {
    auto image = std::make_unique<ImageClass>(kWidth, kHeight);
    const ByteVector photo = MakePhotoRgb(kWidth, kHeight);
    std::memcpy(image->Data(), photo.data(), photo.size());
    return image;
}

std::unique_ptr<ImageClass> PhotoWithOutlines() {
    std::unique_ptr<ImageClass> image = Photo();
    for (std::int32_t y = 0; y < kHeight; y += kGridSpacing) {
        image->DrawLineH(y, 0, kWidth - 1, 4, 4, 4);
    }
    for (std::int32_t x = 0; x < kWidth; x += kGridSpacing) {
        image->DrawLineV(x, 0, kHeight - 1, 0, 5, 20);
    }
    return image;
}

std::unique_ptr<ImageClass> DarkNoise() {
    auto image = std::make_unique<ImageClass>(kWidth, kHeight);
    std::mt19937 random(7);
    std::uint8_t* p = image->Data();
    for (std::size_t i = 0; i < kBytes; ++i) {
        p[i] = static_cast<std::uint8_t>(random() & 31);
    }
    return image;
}

std::unique_ptr<ImageClass> AllBlack() {
    auto image = std::make_unique<ImageClass>(kWidth, kHeight);
    std::memset(image->Data(), 0, kBytes);
    return image;
}

// Every pixel one of the colours of intensity 4 or 5, drawn at random: the
// ones a pass is likeliest to get wrong, and dark or not at random.
std::unique_ptr<ImageClass> NearThreshold() {
    std::vector<std::uint32_t> colours;
    for (std::uint32_t r = 0; r < 20; ++r) {  // 20 x 0.3 alone is 6
        for (std::uint32_t g = 0; g < 11; ++g) {
            for (std::uint32_t b = 0; b < 55; ++b) {
                const std::int32_t intensity = PointIntensity(static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                                                              static_cast<std::uint8_t>(b));
                if (intensity == kDarkThreshold - 1 || intensity == kDarkThreshold) {
                    colours.push_back(r << 16 | g << 8 | b);
                }
            }
        }
    }
    auto image = std::make_unique<ImageClass>(kWidth, kHeight);
    std::mt19937 random(11);
    std::uniform_int_distribution<std::size_t> pick(0, colours.size() - 1);
    std::uint8_t* p = image->Data();
    for (std::size_t i = 0; i < kBytes; i += 3) {
        const std::uint32_t colour = colours[pick(random)];
        p[i] = static_cast<std::uint8_t>(colour >> 16);
        p[i + 1] = static_cast<std::uint8_t>(colour >> 8);
        p[i + 2] = static_cast<std::uint8_t>(colour);
    }
    return image;
}

template <typename Pass>
void RunPass(benchmark::State& state, const ImageClass& source, Pass pass) {
    ImageClass result(kWidth, kHeight);
    for (auto _ : state) {
        state.PauseTiming();
        result.Clear();
        state.ResumeTiming();
        pass(source, result);
        benchmark::DoNotOptimize(result.Data());
        benchmark::ClobberMemory();
    }
    state.counters["ns_per_pixel"] = benchmark::Counter(
        static_cast<double>(kWidth) * kHeight, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const std::pair<const char*, std::unique_ptr<ImageClass>> inputs[] = {{"photo", Photo()},
                                                                          {"outlines", PhotoWithOutlines()},
                                                                          {"dark_noise", DarkNoise()},
                                                                          {"all_black", AllBlack()},
                                                                          {"threshold", NearThreshold()}};
    for (const auto& input : inputs) {
        const char* name = input.first;
        const ImageClass& source = *input.second;
        const auto add = [name](const std::string& prefix, auto run) {
            benchmark::RegisterBenchmark((prefix + name).c_str(), run)->Unit(benchmark::kMillisecond);
        };
        add("BM_MarkDarkPixelsReference/", [&source](benchmark::State& state) { RunPass(state, source, ReferencePass); });
        add("BM_MarkDarkPixels/", [&source](benchmark::State& state) {
            RunPass(state, source, [](const ImageClass& from, ImageClass& to) { MarkDarkRun(from.Bytes(), to.Bytes()); });
        });
        add("BM_CopyPicture/", [&source](benchmark::State& state) { RunPass(state, source, CopyPicture); });
        for (const NamedDarkPassKernel& kernel : AvailableDarkPassKernels()) {
            add(std::string("BM_DarkPassKernel/") + kernel.name + "/", [&source, kernel](benchmark::State& state) {
                RunPass(state, source, [kernel](const ImageClass& from, ImageClass& to) {
                    kernel.run(from.Data(), to.Data(), std::size_t{1} * kWidth * kHeight);
                });
            });
        }
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
