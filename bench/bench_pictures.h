#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The pictures the loader benchmark decodes: one photo-like scene stored in
// every form the benchmark covers, each as a complete file (14-byte file
// header, 40-byte info header) with the packed red-green-blue bytes it must
// decode to, bottom row first.

using ByteVector = std::vector<std::uint8_t>;

struct BenchPicture {
    std::string name;  // the format, as it appears in the benchmark names
    bool compressed = false;
    std::int32_t width = 0;
    std::int32_t height = 0;
    ByteVector file;
    ByteVector expected;  // 3 x width x height bytes
};

// The scene alone, as packed red-green-blue bytes, bottom row first.
ByteVector MakePhotoRgb(std::int32_t width, std::int32_t height);

// Always the same bytes for the same size: smooth gradients, with noise and
// fine texture over part of the picture, so the run-length forms hold both
// runs and literal blocks.
std::vector<BenchPicture> MakeBenchPictures(std::int32_t width, std::int32_t height);

// Run-length encodes rows of indices (bottom row first, each width long) as
// RLE8 or RLE4 codes: runs where a value repeats, literal blocks elsewhere,
// an end of line after each row and an end of bitmap at the end.
ByteVector EncodeRle8(const std::vector<std::uint8_t>& indices, std::int32_t width, std::int32_t height);
ByteVector EncodeRle4(const std::vector<std::uint8_t>& indices, std::int32_t width, std::int32_t height);
