// Our conversion against the platform's: GDI's SetDIBits into a 24-bit DIB
// section, over every corpus file we accept. GDI never sees a file the
// viewer opens; here it is the reference, and where the two differ the
// difference is listed with its reason.
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <iostream>

#include "dib_test_support.h"

namespace {

// Where GDI's pixels differ from ours, by how much at most (none: GDI
// converts no row), and why. Widening a component of n bits to 8 we round
// v x 255 / (2^n - 1); Wine's GDI shifts it to the top of the byte and
// repeats it once below ((v << 3) | (v >> 2) for 5 bits), so a component of
// fewer than 4 bits never reaches 255, and one of more than 8 is cut, not
// rounded. Wine is not Windows: no rule of ours changes on its word.
struct Difference {
    std::optional<int> most;
    const char* why;
};

constexpr const char* kRepeated = "5- and 6-bit components: Wine repeats their bits, we round";
const std::map<std::string, Difference> kDifferences = {
    {"bmpsuite/g/rgb16.bmp", {1, kRepeated}},
    {"bmpsuite/g/rgb16-565.bmp", {1, kRepeated}},
    {"bmpsuite/g/rgb16-565pal.bmp", {1, kRepeated}},
    {"bmpsuite/g/rgb16bfdef.bmp", {1, kRepeated}},
    {"bmpsuite/q/rgb16faketrns.bmp", {1, kRepeated}},
    {"bmpsuite/q/rgb16-231.bmp", {63, "2-, 3- and 1-bit components: Wine repeats them once, so 1 bit set gives 192"}},
    {"bmpsuite/q/rgb16-3103.bmp", {3, "3-bit red and blue repeated once (7 gives 252); the 10-bit green cut, not rounded"}},
    {"bmpsuite/q/rgb32-111110.bmp", {1, "11- and 10-bit components: Wine keeps their top 8 bits, we round"}},
    {"bmpsuite/q/rgb32-7187.bmp", {1, "7-bit components repeated, the 18-bit one cut, not rounded"}},
    {"bmpsuite/b/rgb16-880.bmp", {std::nullopt, "a blue mask of 0: Wine's GDI converts nothing, we read blue as 0"}},
};

std::optional<Bytes> ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    return Bytes(std::istreambuf_iterator<char>(file), {});
}

std::uint32_t Field32(const Bytes& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// GDI's conversion of a whole file with a file header, as packed red, green,
// blue rows, bottom row first; nothing where GDI converts no row.
std::optional<Rows> GdiPixels(const Bytes& file, int width, int height) {
    const auto* source = reinterpret_cast<const BITMAPINFO*>(file.data() + 14);
    BITMAPINFO target{};
    target.bmiHeader.biSize = sizeof target.bmiHeader;
    target.bmiHeader.biWidth = width;
    target.bmiHeader.biHeight = height;
    target.bmiHeader.biPlanes = 1;
    target.bmiHeader.biBitCount = 24;
    target.bmiHeader.biCompression = BI_RGB;
    const HDC context = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(context, &target, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::optional<Rows> pixels;
    if (bitmap != nullptr && SelectObject(context, bitmap) != nullptr &&
        SetDIBits(context, bitmap, 0, height, file.data() + Field32(file, 10), source, DIB_RGB_COLORS) != 0) {
        GdiFlush();
        const auto* rows = static_cast<const std::uint8_t*>(bits);
        const std::size_t stride = (3 * static_cast<std::size_t>(width) + 3) / 4 * 4;
        pixels = Flat(width, height, 0);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const std::uint8_t* bgr = rows + y * stride + 3 * x;
                (*pixels)[y][x] = std::uint32_t{bgr[2]} << 16 | std::uint32_t{bgr[1]} << 8 | bgr[0];
            }
        }
    }
    DeleteDC(context);
    if (bitmap != nullptr) {
        DeleteObject(bitmap);
    }
    return pixels;
}

TEST(GdiReference, DiffersOnlyWhereListed) {
    std::ifstream manifest(DIB_TEST_DATA_DIR "/corpus/expected.tsv");
    ASSERT_TRUE(manifest);
    std::map<std::string, std::optional<int>> found;  // the largest difference of each file that differs
    int compared = 0;
    for (std::string line; std::getline(manifest, line);) {
        const std::string file = line.substr(0, line.find('\t'));
        const std::optional<Bytes> bytes = ReadFile(DIB_TEST_DATA_DIR "/corpus/" + file);
        const DibDecodeResult ours = bytes ? DecodeDibImage(*bytes) : DibDecodeResult{};
        if (!ours.image || (*bytes)[0] != 'B' || (*bytes)[1] != 'M') {
            continue;  // the header line, what we refuse, and what GDI cannot be handed whole
        }
        ++compared;
        const std::optional<Rows> theirs = GdiPixels(*bytes, ours.image->sizeX, ours.image->sizeY);
        if (!theirs) {
            found[file] = std::nullopt;
            continue;
        }
        const Rows mine = Unpack(*ours.image);
        int most = 0;
        for (std::size_t y = 0; y < mine.size(); ++y) {
            for (std::size_t x = 0; x < mine[y].size(); ++x) {
                for (const int shift : {16, 8, 0}) {
                    most = std::max(most, std::abs(int(mine[y][x] >> shift & 0xFF) - int((*theirs)[y][x] >> shift & 0xFF)));
                }
            }
        }
        if (most > 0) {
            found[file] = most;
        }
    }
    EXPECT_GT(compared, 50);
    std::map<std::string, std::optional<int>> listed;
    for (const auto& [file, difference] : kDifferences) {
        listed[file] = difference.most;
        std::cout << file << ": " << (difference.most ? "by up to " + std::to_string(*difference.most) : "no row")
                  << ": " << difference.why << "\n";
    }
    EXPECT_EQ(found, listed);
}

}  // namespace
