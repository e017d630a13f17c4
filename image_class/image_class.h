#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "image_record/rgb_image_record.h"

// One picture and where in the window it is drawn. The object owns its record
// for its whole life: nothing replaces a record once it holds one.
//
// Pixel operations take (x, y) with x from the left and y from the bottom and
// do not check them: callers keep them inside the image (debug builds assert).
class ImageClass {
public:
    // Empty: holds no record until Load succeeds.
    ImageClass() = default;
    // A white width x height image.
    ImageClass(std::int32_t width, std::int32_t height);

    ImageClass(const ImageClass&) = delete;
    ImageClass& operator=(const ImageClass&) = delete;

    // Loads a bitmap file into an empty object: 1 on success, 0 on failure
    // (the loader has already reported why). An object that already holds a
    // picture keeps it, says so on standard output and returns 0.
    int Load(const char* name);

    // Draws the whole picture with its lower-left corner at (posX, posY) in
    // the current window coordinates. Needs a current GL context.
    void Draw() const;

    void SetPos(std::int32_t x, std::int32_t y);
    std::int32_t SizeX() const;
    std::int32_t SizeY() const;

    void SetPixel(std::int32_t x, std::int32_t y, std::uint8_t r, std::uint8_t g, std::uint8_t b);
    void GetPixel(std::int32_t x, std::int32_t y, std::uint8_t& r, std::uint8_t& g, std::uint8_t& b) const;
    // 0.3 red + 0.59 green + 0.11 blue in double precision, in that order,
    // truncated: some greys (v, v, v) give v - 1, and callers rely on exactly that.
    std::int32_t GetPointIntensity(std::int32_t x, std::int32_t y) const;

    // Row y from column x0 to x1 inclusive; nothing when x0 > x1.
    void DrawLineH(std::int32_t y, std::int32_t x0, std::int32_t x1, std::uint8_t r, std::uint8_t g, std::uint8_t b);
    // Column x from row y0 to y1 inclusive; nothing when y0 > y1.
    void DrawLineV(std::int32_t x, std::int32_t y0, std::int32_t y1, std::uint8_t r, std::uint8_t g, std::uint8_t b);

    // Copies this picture's bytes to the start of dest's buffer, which must be
    // at least as large. Sizes and positions stay as they are.
    void CopyTo(ImageClass& dest) const;
    // Every pixel white.
    void Clear();

    bool HasImage() const { return image != nullptr; }
    std::int32_t PosX() const { return posX; }
    std::int32_t PosY() const { return posY; }
    // The packed red-green-blue rows, bottom row first; null when empty.
    const std::uint8_t* Data() const { return image ? image->data.get() : nullptr; }
    std::uint8_t* Data() { return image ? image->data.get() : nullptr; }
    // The same rows as one run of bytes; empty when there is no picture.
    std::span<const std::uint8_t> Bytes() const { return {Data(), image ? ByteCount() : 0}; }
    std::span<std::uint8_t> Bytes() { return {Data(), image ? ByteCount() : 0}; }

private:
    std::size_t ByteCount() const;
    std::size_t PixelIndex(std::int32_t x, std::int32_t y) const;

    std::unique_ptr<RgbImageRecord> image;
    std::int32_t posX = 0;
    std::int32_t posY = 0;
};
