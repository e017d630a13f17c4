// loader_bench: the bitmap loader against stb_image, SDL2 and a plain copy
// of the output's size, on one 6000 x 4000 photo-like scene in every form.
//
// Every timed iteration includes freeing what it produced (our record, stb's
// pixels, SDL's two surfaces, the copy's buffer), so all sides pay for their
// allocation, page faults and release alike.
//
// Before timing anything, every decoder's output is compared with the pixels
// the scene must decode to; a peer that cannot read a form, or reads it
// differently, is left out of that form's comparison and the reason printed.
// After the run, a table of ns per pixel and the ratios that matter is printed
// (medians when run with repetitions).

#define SDL_MAIN_HANDLED
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <stb_image.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bench/bench_pictures.h"
#include "dib/dib_loader.h"
#include "dib/message_sink.h"
#include "image_record/pixel_buffer.h"

namespace {

constexpr std::int32_t kDefaultWidth = 6000;
constexpr std::int32_t kDefaultHeight = 4000;
// 5-bit and 6-bit components widened by bit replication (as the peers do)
// may differ by one from the rounded widening we promise.
constexpr int kWidenedComponentTolerance = 1;

struct Comparison {
    bool sameSize = false;
    int maxDifference = 0;
};

// rows of width x 3 bytes at stride bytes apart; topFirst: the first row is the top.
Comparison Compare(const ByteVector& expected, std::int32_t width, std::int32_t height, const std::uint8_t* rows,
                   std::size_t stride, bool topFirst) {
    Comparison result{true, 0};
    const std::size_t rowBytes = 3 * static_cast<std::size_t>(width);
    for (std::int32_t y = 0; y < height; ++y) {
        const std::int32_t stored = topFirst ? height - 1 - y : y;
        const std::uint8_t* got = rows + stride * static_cast<std::size_t>(stored);
        const std::uint8_t* want = expected.data() + rowBytes * static_cast<std::size_t>(y);
        for (std::size_t i = 0; i < rowBytes; ++i) {
            result.maxDifference = std::max(result.maxDifference, std::abs(int{got[i]} - int{want[i]}));
        }
    }
    return result;
}

std::string Describe(const Comparison& c) {
    if (!c.sameSize) {
        return "wrong size";
    }
    return c.maxDifference == 0 ? "exact" : "components differ by up to " + std::to_string(c.maxDifference);
}

bool Acceptable(const BenchPicture& picture, const Comparison& c) {
    const int tolerance = picture.name == "rgb565" ? kWidenedComponentTolerance : 0;
    return c.sameSize && c.maxDifference <= tolerance;
}

// ---------------------------------------------------------------- the decoders

std::optional<Comparison> CheckOurs(const BenchPicture& picture) {
    const DibDecodeResult result = DecodeDibImage(picture.file);
    if (!result.image) {
        return std::nullopt;
    }
    const RgbImageRecord& image = *result.image;
    if (image.sizeX != picture.width || image.sizeY != picture.height) {
        return Comparison{};
    }
    return Compare(picture.expected, picture.width, picture.height, image.data.get(), 3 * std::size_t(picture.width),
                   false);
}

std::optional<Comparison> CheckOursFromFile(const BenchPicture& picture, const std::string& path) {
    const std::unique_ptr<RgbImageRecord> image = LoadDibImage(path.c_str());
    if (!image) {
        return std::nullopt;
    }
    if (image->sizeX != picture.width || image->sizeY != picture.height) {
        return Comparison{};
    }
    return Compare(picture.expected, picture.width, picture.height, image->data.get(), 3 * std::size_t(picture.width),
                   false);
}

stbi_uc* StbDecode(const ByteVector& file, int& width, int& height) {
    int channels = 0;
    return stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &width, &height, &channels, 3);
}

std::optional<Comparison> CheckStb(const BenchPicture& picture, std::string& why) {
    int width = 0, height = 0;
    stbi_uc* pixels = StbDecode(picture.file, width, height);
    if (pixels == nullptr) {
        why = stbi_failure_reason();
        return std::nullopt;
    }
    Comparison c;
    if (width == picture.width && height == picture.height) {
        c = Compare(picture.expected, width, height, pixels, 3 * std::size_t(width), false);
    }
    stbi_image_free(pixels);
    return c;
}

struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using Surface = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// What SDL applications do to get RGB bytes out of a bitmap file.
Surface SdlDecode(const ByteVector& file) {
    const Surface loaded(SDL_LoadBMP_RW(SDL_RWFromConstMem(file.data(), static_cast<int>(file.size())), 1));
    if (!loaded) {
        return nullptr;
    }
    return Surface(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_RGB24, 0));
}

std::optional<Comparison> CheckSdl(const BenchPicture& picture, std::string& why) {
    const Surface rgb = SdlDecode(picture.file);
    if (!rgb) {
        why = SDL_GetError();
        return std::nullopt;
    }
    if (rgb->w != picture.width || rgb->h != picture.height) {
        return Comparison{};
    }
    // SDL surfaces hold the top row first.
    return Compare(picture.expected, picture.width, picture.height, static_cast<const std::uint8_t*>(rgb->pixels),
                   static_cast<std::size_t>(rgb->pitch), true);
}

// ---------------------------------------------------------------- the timed loops

std::int64_t PixelCount(const BenchPicture& picture) { return std::int64_t{picture.width} * picture.height; }

// Times each iteration of body (which returns false on failure) by hand, so
// that the ns-per-pixel counter is exactly the reported time per pixel.
template <typename Body>
void TimeEach(benchmark::State& state, std::int64_t pixels, Body body) {
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const bool ok = body();
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!ok) {
            state.SkipWithError("failed");
            break;
        }
        state.SetIterationTime(elapsed);
        seconds += elapsed;
    }
    if (state.iterations() > 0) {
        state.counters["ns_per_pixel"] = seconds * 1e9 / (static_cast<double>(state.iterations()) * pixels);
    }
}

void BM_Load(benchmark::State& state, const BenchPicture* picture) {
    TimeEach(state, PixelCount(*picture), [&] {
        const DibDecodeResult result = DecodeDibImage(picture->file);
        benchmark::DoNotOptimize(result.image.get());
        return result.image != nullptr;
    });
}

void BM_LoadFile(benchmark::State& state, const BenchPicture* picture, std::string path) {
    TimeEach(state, PixelCount(*picture), [&] {
        const std::unique_ptr<RgbImageRecord> image = LoadDibImage(path.c_str());
        benchmark::DoNotOptimize(image.get());
        return image != nullptr;
    });
}

void BM_Stb(benchmark::State& state, const BenchPicture* picture) {
    TimeEach(state, PixelCount(*picture), [&] {
        int width = 0, height = 0;
        stbi_uc* pixels = StbDecode(picture->file, width, height);
        benchmark::DoNotOptimize(pixels);
        const bool ok = pixels != nullptr;
        stbi_image_free(pixels);
        return ok;
    });
}

void BM_Sdl(benchmark::State& state, const BenchPicture* picture) {
    TimeEach(state, PixelCount(*picture), [&] {
        const Surface rgb = SdlDecode(picture->file);
        benchmark::DoNotOptimize(rgb.get());
        return rgb != nullptr;
    });
}

struct FreeDeleter {
    void operator()(std::uint8_t* p) const { std::free(p); }
};

// The floor: the output's bytes copied into a buffer as fresh as a decoder's.
template <typename Allocate>
void FreshMemcpy(benchmark::State& state, const ByteVector* source, std::int64_t pixels, Allocate allocate) {
    TimeEach(state, pixels, [&] {
        const auto buffer = allocate(source->size());
        if (!buffer) {
            return false;
        }
        std::memcpy(buffer.get(), source->data(), source->size());
        benchmark::DoNotOptimize(buffer.get());
        benchmark::ClobberMemory();
        return true;
    });
}

// ---------------------------------------------------------------- the summary

// Prints as usual, and keeps each benchmark's time per iteration (the median
// when there are repetitions) for the table printed at the end.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    explicit SummaryReporter(std::vector<std::string> formats, std::vector<bool> compressed, std::int64_t pixels)
        : ConsoleReporter(OO_Tabular), formats_(std::move(formats)), compressed_(std::move(compressed)), pixels_(pixels) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) {
                continue;
            }
            const std::string& name = run.run_name.function_name;
            const double ns = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                medians_[name] = ns;
            } else if (run.run_type == Run::RT_Iteration) {
                singles_[name] = ns;
            }
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        const std::optional<double> floor = PerPixel("BM_FreshMemcpy/pixel_buffer");
        const std::optional<double> mallocFloor = PerPixel("BM_FreshMemcpy/malloc");
        std::printf("\nns per pixel (%s), targets: ours >= 1.5x faster than the fastest peer; "
                    "uncompressed within 1.5x of the floor\n\n",
                    medians_.empty() ? "single runs" : "medians");
        std::printf("| format | ours | ours, file | stb_image | SDL2 | fastest peer / ours | ours / floor | targets |\n");
        std::printf("|---|---|---|---|---|---|---|---|\n");
        for (std::size_t i = 0; i < formats_.size(); ++i) {
            const std::string& f = formats_[i];
            const std::optional<double> ours = PerPixel("BM_Load/" + f);
            const std::optional<double> file = PerPixel("BM_LoadFile/" + f);
            const std::optional<double> stb = PerPixel("BM_Stb/" + f);
            const std::optional<double> sdl = PerPixel("BM_Sdl/" + f);
            std::optional<double> peer;
            for (const auto& p : {stb, sdl}) {
                if (p && (!peer || *p < *peer)) {
                    peer = p;
                }
            }
            std::string verdict = "-";
            std::string peerRatio = "-", floorRatio = "-";
            if (ours && peer) {
                const double r = *peer / *ours;
                peerRatio = Format(r) + "x";
                verdict = r >= 1.5 ? "peer met" : "peer MISSED";
            }
            if (ours && floor && !compressed_[i]) {
                const double r = *ours / *floor;
                floorRatio = Format(r) + "x";
                verdict += r <= 1.5 ? ", floor met" : ", floor MISSED";
            }
            std::printf("| %s | %s | %s | %s | %s | %s | %s | %s |\n", f.c_str(), Cell(ours).c_str(),
                        Cell(file).c_str(), Cell(stb).c_str(), Cell(sdl).c_str(), peerRatio.c_str(),
                        floorRatio.c_str(), verdict.c_str());
        }
        std::printf("\nfloor, fresh buffer from AllocatePixelBuffer: %s ns per pixel; from malloc: %s\n",
                    Cell(floor).c_str(), Cell(mallocFloor).c_str());
    }

private:
    std::optional<double> PerPixel(const std::string& name) const {
        for (const auto* times : {&medians_, &singles_}) {
            if (const auto it = times->find(name); it != times->end()) {
                return it->second / static_cast<double>(pixels_);
            }
        }
        return std::nullopt;
    }
    static std::string Format(double v) {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f", v);
        return text;
    }
    static std::string Cell(std::optional<double> v) { return v ? Format(*v) : "-"; }

    std::vector<std::string> formats_;
    std::vector<bool> compressed_;
    std::int64_t pixels_;
    std::map<std::string, double> medians_;
    std::map<std::string, double> singles_;
};

// A folder for the files BM_LoadFile reads, removed at exit.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "loader_bench.XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~TempFolder() {
        if (!path_.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(path_, ignored);
        }
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

bool WriteWhole(const std::filesystem::path& path, const ByteVector& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// --picture_size=WxH (for quick trials; the figures are for the default).
bool TakeSizeOption(int& argc, char** argv, std::int32_t& width, std::int32_t& height) {
    constexpr std::string_view kOption = "--picture_size=";
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.substr(0, kOption.size()) != kOption) {
            continue;
        }
        if (std::sscanf(argv[i] + kOption.size(), "%dx%d", &width, &height) != 2 || width <= 0 || height <= 0) {
            return false;
        }
        for (int j = i; j + 1 < argc; ++j) {
            argv[j] = argv[j + 1];
        }
        --argc;
        break;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::int32_t width = kDefaultWidth, height = kDefaultHeight;
    if (!TakeSizeOption(argc, argv, width, height)) {
        std::fprintf(stderr, "loader_bench: --picture_size takes WIDTHxHEIGHT\n");
        return 2;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    SetMessageSink([](std::string_view, std::string_view) {});
    stbi_set_flip_vertically_on_load(1);

    std::fprintf(stderr, "making %d x %d pictures...\n", width, height);
    std::vector<BenchPicture> pictures = MakeBenchPictures(width, height);
    const TempFolder folder;
    if (folder.Path().empty()) {
        std::fprintf(stderr, "loader_bench: cannot make a temporary folder\n");
        return 1;
    }

    bool ok = true;
    std::vector<std::string> formats;
    std::vector<bool> compressed;
    for (BenchPicture& picture : pictures) {
        const std::string path = (folder.Path() / (picture.name + ".bmp")).string();
        if (!WriteWhole(path, picture.file)) {
            std::fprintf(stderr, "loader_bench: cannot write %s\n", path.c_str());
            return 1;
        }
        std::string stbWhy, sdlWhy;
        const std::optional<Comparison> ours = CheckOurs(picture);
        const std::optional<Comparison> oursFile = CheckOursFromFile(picture, path);
        const std::optional<Comparison> stb = CheckStb(picture, stbWhy);
        const std::optional<Comparison> sdl = CheckSdl(picture, sdlWhy);
        std::fprintf(stderr, "%-7s %9zu bytes; ours: %s, through the file: %s; stb_image: %s; SDL2: %s\n",
                     picture.name.c_str(), picture.file.size(), ours ? Describe(*ours).c_str() : "refused",
                     oursFile ? Describe(*oursFile).c_str() : "refused",
                     stb ? Describe(*stb).c_str() : ("cannot read: " + stbWhy).c_str(),
                     sdl ? Describe(*sdl).c_str() : ("cannot read: " + sdlWhy).c_str());
        // Ours must be exact: the scene's expected pixels follow the loader's rules.
        if (!ours || ours->maxDifference != 0 || !ours->sameSize || !oursFile || oursFile->maxDifference != 0 ||
            !oursFile->sameSize) {
            ok = false;
        }
        const BenchPicture* p = &picture;
        benchmark::RegisterBenchmark(("BM_Load/" + picture.name).c_str(), BM_Load, p)->UseManualTime()->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_LoadFile/" + picture.name).c_str(), BM_LoadFile, p, path)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
        if (stb && Acceptable(picture, *stb)) {
            benchmark::RegisterBenchmark(("BM_Stb/" + picture.name).c_str(), BM_Stb, p)->UseManualTime()->Unit(benchmark::kMillisecond);
        }
        if (sdl && Acceptable(picture, *sdl)) {
            benchmark::RegisterBenchmark(("BM_Sdl/" + picture.name).c_str(), BM_Sdl, p)->UseManualTime()->Unit(benchmark::kMillisecond);
        }
        formats.push_back(picture.name);
        compressed.push_back(picture.compressed);
    }
    if (!ok) {
        std::fprintf(stderr, "loader_bench: our decode does not give the expected pixels\n");
        return 1;
    }

    // Any 3 x width x height bytes will do as the copy's source; it is faulted in already.
    const ByteVector& source = pictures.front().expected;
    const std::int64_t pixels = std::int64_t{width} * height;
    benchmark::RegisterBenchmark("BM_FreshMemcpy/pixel_buffer", [&](benchmark::State& state) {
        FreshMemcpy(state, &source, pixels, AllocatePixelBuffer);
    })->UseManualTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_FreshMemcpy/malloc", [&](benchmark::State& state) {
        FreshMemcpy(state, &source, pixels, [](std::size_t size) {
            return std::unique_ptr<std::uint8_t[], FreeDeleter>(static_cast<std::uint8_t*>(std::malloc(size)));
        });
    })->UseManualTime()->Unit(benchmark::kMillisecond);

    SummaryReporter reporter(formats, compressed, pixels);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
