#include "bench/bench_pictures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "bitmap_builder.h"
#include "dib/dib_layout.h"

namespace {

constexpr DibCompression kRgb = DibCompression::kRgb;
constexpr DibCompression kRle8 = DibCompression::kRle8;
constexpr DibCompression kRle4 = DibCompression::kRle4;
constexpr DibCompression kBitFields = DibCompression::kBitFields;
constexpr std::size_t kMaxCodeCount = 255;  // pixels in one run or literal block

struct Color {
    std::uint8_t r = 0, g = 0, b = 0;
};

// ---------------------------------------------------------------- the scene

std::uint64_t SplitMix(std::uint64_t v) {
    v += 0x9E3779B97F4A7C15ull;
    v = (v ^ (v >> 30)) * 0xBF58476D1CE4E5B9ull;
    v = (v ^ (v >> 27)) * 0x94D049BB133111EBull;
    return v ^ (v >> 31);
}

// Noise in [-1, 1], the same for the same pixel and channel on every run.
double Noise(std::uint64_t pixel, int channel) {
    const std::uint64_t h = SplitMix(pixel * 4 + static_cast<std::uint64_t>(channel));
    return static_cast<double>(h >> 11) / static_cast<double>(1ull << 52) - 1.0;
}

std::uint8_t Clamp(double v) { return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0l, 255l)); }

// Sums of per-column and per-row waves keep the scene cheap to make: the
// slow waves are the gradients, the fast ones the texture, and the product
// of two slow waves decides where texture and noise appear at all.
std::vector<Color> MakeScene(std::int32_t width, std::int32_t height) {
    const double tau = 2 * std::numbers::pi;
    const auto w = static_cast<std::size_t>(width);
    const auto h = static_cast<std::size_t>(height);
    std::vector<std::array<double, 3>> columnWave(w), rowWave(h);
    std::vector<double> columnRough(w), rowRough(h), columnFine(w), rowFine(h);
    for (std::size_t x = 0; x < w; ++x) {
        const double u = static_cast<double>(x) / width;
        columnWave[x] = {70 * std::sin(tau * 1.3 * u + 0.4), 55 * std::cos(tau * 0.7 * u), 45 * std::sin(tau * 2.1 * u + 1.0)};
        columnRough[x] = std::sin(tau * 2.5 * u);
        columnFine[x] = std::sin(0.9 * static_cast<double>(x));
    }
    for (std::size_t y = 0; y < h; ++y) {
        const double v = static_cast<double>(y) / height;
        rowWave[y] = {50 * std::cos(tau * 0.9 * v), 60 * std::sin(tau * 1.1 * v + 2.0), 65 * std::cos(tau * 0.6 * v + 0.3)};
        rowRough[y] = std::sin(tau * 1.7 * v + 0.5);
        rowFine[y] = std::sin(1.3 * static_cast<double>(y));
    }
    constexpr double kBase[3] = {125, 120, 130};
    std::vector<Color> scene(w * h);
    for (std::size_t y = 0; y < h; ++y) {
        for (std::size_t x = 0; x < w; ++x) {
            const double rough = 30 * std::max(0.0, columnRough[x] * rowRough[y]);
            const std::uint64_t pixel = y * w + x;
            double c[3];
            for (int i = 0; i < 3; ++i) {
                c[i] = kBase[i] + columnWave[x][i] + rowWave[y][i] +
                       rough * (0.6 * Noise(pixel, i) + 0.4 * columnFine[x] * rowFine[y]);
            }
            scene[pixel] = {Clamp(c[0]), Clamp(c[1]), Clamp(c[2])};
        }
    }
    return scene;
}

// ---------------------------------------------------------------- writing files

struct FileHeaders {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bitCount = 0;
    DibCompression compression = kRgb;
    std::vector<std::uint32_t> masks;
    std::vector<Color> palette;
};

// The file as the tests write theirs: both headers, masks, table, pixels.
ByteVector WriteFile(const FileHeaders& headers, const ByteVector& pixels) {
    TestBitmap bitmap;
    bitmap.width = headers.width;
    bitmap.height = headers.height;
    bitmap.bitCount = headers.bitCount;
    bitmap.compression = static_cast<std::uint32_t>(headers.compression);
    bitmap.colorsUsed = static_cast<std::uint32_t>(headers.palette.size());
    bitmap.masks = headers.masks;
    for (const Color& c : headers.palette) {
        bitmap.palette.push_back(std::uint32_t{c.r} << 16 | std::uint32_t{c.g} << 8 | c.b);
    }
    bitmap.pixels = pixels;
    return bitmap.Build();
}

// Stored rows, bottom first, from a function that writes one row's bytes.
template <typename FillRow>
ByteVector StoreRows(std::int32_t width, std::int32_t height, int bitCount, FillRow fillRow) {
    const std::size_t stride = StoredRowSize(width, static_cast<std::uint16_t>(bitCount));
    ByteVector pixels(stride * static_cast<std::size_t>(height), 0);
    for (std::int32_t y = 0; y < height; ++y) {
        fillRow(y, pixels.data() + stride * static_cast<std::size_t>(y));
    }
    return pixels;
}

ByteVector Pack(const std::vector<Color>& colors) {
    ByteVector out;
    out.reserve(3 * colors.size());
    for (const Color& c : colors) {
        out.insert(out.end(), {c.r, c.g, c.b});
    }
    return out;
}

// An n-bit value as 8 bits, rounded to nearest: what the loader promises.
std::uint8_t Widen(std::uint32_t v, int bits) {
    const std::uint32_t max = (1u << bits) - 1;
    return static_cast<std::uint8_t>((2 * v * 255 + max) / (2 * max));
}

// ---------------------------------------------------------------- indexed forms

struct IndexedScene {
    std::vector<Color> palette;
    std::vector<std::uint8_t> indices;  // bottom row first
};

template <typename ChooseIndex>
IndexedScene Quantise(const std::vector<Color>& scene, std::vector<Color> palette, ChooseIndex chooseIndex) {
    IndexedScene indexed{std::move(palette), {}};
    indexed.indices.reserve(scene.size());
    for (const Color& c : scene) {
        indexed.indices.push_back(chooseIndex(c));
    }
    return indexed;
}

// 6 x 7 x 6 levels of red, green and blue, and four greys.
IndexedScene Quantise8(const std::vector<Color>& scene) {
    std::vector<Color> palette;
    for (int r = 0; r < 6; ++r) {
        for (int g = 0; g < 7; ++g) {
            for (int b = 0; b < 6; ++b) {
                palette.push_back({static_cast<std::uint8_t>(r * 51), static_cast<std::uint8_t>((g * 255 + 3) / 6),
                                   static_cast<std::uint8_t>(b * 51)});
            }
        }
    }
    for (const std::uint8_t grey : {32, 96, 160, 224}) {
        palette.push_back({grey, grey, grey});
    }
    return Quantise(scene, std::move(palette), [](const Color& c) {
        return static_cast<std::uint8_t>((c.r * 6 >> 8) * 42 + (c.g * 7 >> 8) * 6 + (c.b * 6 >> 8));
    });
}

// 2 x 4 x 2 levels.
IndexedScene Quantise4(const std::vector<Color>& scene) {
    std::vector<Color> palette;
    for (int r = 0; r < 2; ++r) {
        for (int g = 0; g < 4; ++g) {
            for (int b = 0; b < 2; ++b) {
                palette.push_back({static_cast<std::uint8_t>(64 + 128 * r), static_cast<std::uint8_t>(32 + 64 * g),
                                   static_cast<std::uint8_t>(64 + 128 * b)});
            }
        }
    }
    return Quantise(scene, std::move(palette), [](const Color& c) {
        return static_cast<std::uint8_t>((c.r >> 7) * 8 + (c.g >> 6) * 2 + (c.b >> 7));
    });
}

// Light and dark by luminance.
IndexedScene Quantise1(const std::vector<Color>& scene) {
    return Quantise(scene, {{20, 30, 60}, {230, 220, 200}}, [](const Color& c) {
        return static_cast<std::uint8_t>(3 * c.r + 6 * c.g + c.b > 1280 ? 1 : 0);
    });
}

ByteVector Expand(const IndexedScene& indexed) {
    std::vector<Color> colors;
    colors.reserve(indexed.indices.size());
    for (const std::uint8_t i : indexed.indices) {
        colors.push_back(indexed.palette[i]);
    }
    return Pack(colors);
}

ByteVector StoreIndices(const IndexedScene& indexed, std::int32_t width, std::int32_t height, int bitCount) {
    return StoreRows(width, height, bitCount, [&](std::int32_t y, std::uint8_t* row) {
        const std::uint8_t* src = indexed.indices.data() + static_cast<std::size_t>(y) * width;
        const int perByte = 8 / bitCount;
        for (std::int32_t x = 0; x < width; ++x) {
            const int shift = 8 - bitCount * (x % perByte + 1);  // leftmost pixel in the high bits
            row[x / perByte] |= static_cast<std::uint8_t>(src[x] << shift);
        }
    });
}

// ---------------------------------------------------------------- run-length codes

// The shared shape of both encoders: runs of at least minRun equal indices
// become run codes, everything between them literal blocks; a literal too
// short for a block (fewer than 3 pixels) is written as short runs instead.
template <typename Run, typename Literal, typename ShortLiteral>
ByteVector EncodeRuns(const std::vector<std::uint8_t>& indices, std::int32_t width, std::int32_t height,
                      std::size_t minRun, Run run, Literal literal, ShortLiteral shortLiteral) {
    ByteVector out;
    std::vector<std::uint8_t> pending;
    const auto flush = [&] {
        if (pending.size() >= 3) {
            literal(out, pending);
        } else if (!pending.empty()) {
            shortLiteral(out, pending);
        }
        pending.clear();
    };
    const auto w = static_cast<std::size_t>(width);
    for (std::int32_t y = 0; y < height; ++y) {
        const std::uint8_t* row = indices.data() + static_cast<std::size_t>(y) * w;
        std::size_t x = 0;
        while (x < w) {
            std::size_t length = 1;
            while (x + length < w && length < kMaxCodeCount && row[x + length] == row[x]) {
                ++length;
            }
            if (length >= minRun) {
                flush();
                run(out, length, row[x]);
                x += length;
            } else {
                pending.push_back(row[x++]);
                if (pending.size() == kMaxCodeCount) {
                    flush();
                }
            }
        }
        flush();
        out.insert(out.end(), {0, static_cast<std::uint8_t>(y + 1 < height ? 0 : 1)});  // end of line / bitmap
    }
    return out;
}

void PadToWord(ByteVector& out, std::size_t bytes) {
    if (bytes & 1) {
        out.push_back(0);
    }
}

}  // namespace

ByteVector MakePhotoRgb(std::int32_t width, std::int32_t height) { return Pack(MakeScene(width, height)); }

ByteVector EncodeRle8(const std::vector<std::uint8_t>& indices, std::int32_t width, std::int32_t height) {
    return EncodeRuns(
        indices, width, height, 3,
        [](ByteVector& out, std::size_t length, std::uint8_t v) {
            out.insert(out.end(), {static_cast<std::uint8_t>(length), v});
        },
        [](ByteVector& out, const std::vector<std::uint8_t>& pixels) {
            out.insert(out.end(), {0, static_cast<std::uint8_t>(pixels.size())});
            out.insert(out.end(), pixels.begin(), pixels.end());
            PadToWord(out, pixels.size());
        },
        [](ByteVector& out, const std::vector<std::uint8_t>& pixels) {
            for (const std::uint8_t v : pixels) {
                out.insert(out.end(), {1, v});
            }
        });
}

ByteVector EncodeRle4(const std::vector<std::uint8_t>& indices, std::int32_t width, std::int32_t height) {
    return EncodeRuns(
        indices, width, height, 4,
        [](ByteVector& out, std::size_t length, std::uint8_t v) {
            out.insert(out.end(), {static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(v << 4 | v)});
        },
        [](ByteVector& out, const std::vector<std::uint8_t>& pixels) {
            out.insert(out.end(), {0, static_cast<std::uint8_t>(pixels.size())});
            const std::size_t bytes = (pixels.size() + 1) / 2;
            for (std::size_t i = 0; i < bytes; ++i) {
                const std::uint8_t low = 2 * i + 1 < pixels.size() ? pixels[2 * i + 1] : 0;
                out.push_back(static_cast<std::uint8_t>(pixels[2 * i] << 4 | low));
            }
            PadToWord(out, bytes);
        },
        [](ByteVector& out, const std::vector<std::uint8_t>& pixels) {
            // A run alternates the two nibbles of its byte: any one or two pixels.
            const std::uint8_t second = pixels.size() > 1 ? pixels[1] : 0;
            out.insert(out.end(), {static_cast<std::uint8_t>(pixels.size()), static_cast<std::uint8_t>(pixels[0] << 4 | second)});
        });
}

std::vector<BenchPicture> MakeBenchPictures(std::int32_t width, std::int32_t height) {
    const std::vector<Color> scene = MakeScene(width, height);
    const auto at = [&](std::int32_t x, std::int32_t y) -> const Color& {
        return scene[static_cast<std::size_t>(y) * width + x];
    };
    std::vector<BenchPicture> pictures;
    const auto add = [&](std::string name, bool compressed, const FileHeaders& headers, const ByteVector& pixels,
                         ByteVector expected) {
        pictures.push_back({std::move(name), compressed, width, height, WriteFile(headers, pixels), std::move(expected)});
    };

    // Blue, green, red; at 32 bits the unused top byte carries noise: a
    // decoder must ignore it.
    for (const int bitCount : {24, 32}) {
        const int bytes = bitCount / 8;
        add(bitCount == 24 ? "bgr24" : "bgrx32", false, {width, height, static_cast<std::uint16_t>(bitCount), kRgb, {}, {}},
            StoreRows(width, height, bitCount,
                      [&](std::int32_t y, std::uint8_t* row) {
                          for (std::int32_t x = 0; x < width; ++x) {
                              const Color& c = at(x, y);
                              std::uint8_t* pixel = row + bytes * x;
                              pixel[0] = c.b;
                              pixel[1] = c.g;
                              pixel[2] = c.r;
                              if (bytes == 4) {
                                  pixel[3] = static_cast<std::uint8_t>(SplitMix(static_cast<std::uint64_t>(y) * width + x));
                              }
                          }
                      }),
            Pack(scene));
    }

    std::vector<Color> widened565;
    widened565.reserve(scene.size());
    add("rgb565", false, {width, height, 16, kBitFields, {0xF800, 0x07E0, 0x001F}, {}},
        StoreRows(width, height, 16,
                  [&](std::int32_t y, std::uint8_t* row) {
                      for (std::int32_t x = 0; x < width; ++x) {
                          const Color& c = at(x, y);
                          const std::uint32_t r = c.r >> 3, g = c.g >> 2, b = c.b >> 3;
                          const std::uint32_t v = r << 11 | g << 5 | b;
                          row[2 * x] = static_cast<std::uint8_t>(v);
                          row[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
                          widened565.push_back({Widen(r, 5), Widen(g, 6), Widen(b, 5)});
                      }
                  }),
        {});
    pictures.back().expected = Pack(widened565);

    const IndexedScene indexed8 = Quantise8(scene);
    const ByteVector expected8 = Expand(indexed8);
    add("pal8", false, {width, height, 8, kRgb, {}, indexed8.palette}, StoreIndices(indexed8, width, height, 8),
        expected8);
    add("rle8", true, {width, height, 8, kRle8, {}, indexed8.palette}, EncodeRle8(indexed8.indices, width, height),
        expected8);

    const IndexedScene indexed4 = Quantise4(scene);
    add("rle4", true, {width, height, 4, kRle4, {}, indexed4.palette}, EncodeRle4(indexed4.indices, width, height),
        Expand(indexed4));

    const IndexedScene indexed1 = Quantise1(scene);
    add("pal1", false, {width, height, 1, kRgb, {}, indexed1.palette}, StoreIndices(indexed1, width, height, 1),
        Expand(indexed1));
    return pictures;
}
