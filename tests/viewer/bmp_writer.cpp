#include "bmp_writer.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

std::uint32_t GetLe(const std::vector<std::uint8_t>& in, std::size_t at, int bytes) {
    if (at + bytes > in.size()) {
        throw std::runtime_error("bitmap too short");
    }
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        value |= std::uint32_t{in[at + i]} << (8 * i);
    }
    return value;
}

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

}  // namespace

std::uint32_t TestPicture::At(std::int32_t x, std::int32_t y) const {
    const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
    return std::uint32_t{rgb[i]} << 16 | std::uint32_t{rgb[i + 1]} << 8 | rgb[i + 2];
}

void TestPicture::Set(std::int32_t x, std::int32_t y, std::uint32_t colour) {
    const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
    rgb[i] = static_cast<std::uint8_t>(colour >> 16);
    rgb[i + 1] = static_cast<std::uint8_t>(colour >> 8);
    rgb[i + 2] = static_cast<std::uint8_t>(colour);
}

TestPicture MakePatternPicture(std::int32_t width, std::int32_t height) {
    TestPicture picture{width, height, std::vector<std::uint8_t>(std::size_t{3} * width * height)};
    static constexpr std::uint32_t kNearThreshold[] = {kDarkColours[0], kLightColours[0], kDarkColours[1],
                                                       kLightColours[1], kDarkColours[2], kLightColours[2],
                                                       kDarkColours[3], kLightColours[3]};
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            // Every component at least 32: no pixel is dark but the threshold greys.
            std::uint32_t colour = static_cast<std::uint32_t>(32 + (x * 37 + y * 11) % 224) << 16 |
                                   static_cast<std::uint32_t>(32 + (x * 5 + y * 29) % 224) << 8 |
                                   static_cast<std::uint32_t>(32 + (x * 13 + y * 7) % 224);
            if ((x + 2 * y) % 7 == 0) {
                colour = kNearThreshold[(x + y) % 8];
            }
            picture.Set(x, y, colour);
        }
    }
    return picture;
}

TestPicture MakeFlatPicture(std::int32_t width, std::int32_t height, std::uint32_t colour) {
    TestPicture picture{width, height, std::vector<std::uint8_t>(std::size_t{3} * width * height)};
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            picture.Set(x, y, colour);
        }
    }
    return picture;
}

std::vector<std::uint8_t> EncodeBmp(const TestPicture& picture) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(picture.width) * 3 + 3) / 4 * 4;
    const std::uint32_t pixelBytes = stride * static_cast<std::uint32_t>(picture.height);
    constexpr std::uint32_t kOffset = 14 + 40;
    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    PutLe(out, kOffset + pixelBytes, 4);
    PutLe(out, 0, 4);
    PutLe(out, kOffset, 4);
    PutLe(out, 40, 4);
    PutLe(out, static_cast<std::uint32_t>(picture.width), 4);
    PutLe(out, static_cast<std::uint32_t>(picture.height), 4);
    PutLe(out, 1, 2);
    PutLe(out, 24, 2);
    PutLe(out, 0, 4);
    PutLe(out, pixelBytes, 4);
    PutLe(out, 2835, 4);
    PutLe(out, 2835, 4);
    PutLe(out, 0, 4);
    PutLe(out, 0, 4);
    for (std::int32_t y = 0; y < picture.height; ++y) {
        for (std::int32_t x = 0; x < picture.width; ++x) {
            const std::uint32_t colour = picture.At(x, y);
            out.push_back(static_cast<std::uint8_t>(colour));
            out.push_back(static_cast<std::uint8_t>(colour >> 8));
            out.push_back(static_cast<std::uint8_t>(colour >> 16));
        }
        out.resize(out.size() + (stride - static_cast<std::uint32_t>(picture.width) * 3), 0);
    }
    return out;
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw std::runtime_error("cannot read " + path);
    }
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TestPicture DecodeBmp24(const std::vector<std::uint8_t>& file) {
    if (GetLe(file, 0, 2) != 0x4D42 || GetLe(file, 14, 4) != 40 || GetLe(file, 28, 2) != 24 ||
        GetLe(file, 30, 4) != 0) {
        throw std::runtime_error("not a plain 24-bit bitmap");
    }
    const auto width = static_cast<std::int32_t>(GetLe(file, 18, 4));
    const auto height = static_cast<std::int32_t>(GetLe(file, 22, 4));
    if (width <= 0 || height <= 0) {
        throw std::runtime_error("unexpected bitmap size");
    }
    const std::size_t offset = GetLe(file, 10, 4);
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    TestPicture picture{width, height, std::vector<std::uint8_t>(std::size_t{3} * width * height)};
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            const std::size_t at = offset + y * stride + std::size_t{3} * x;
            picture.Set(x, y, GetLe(file, at, 3));
        }
    }
    return picture;
}
