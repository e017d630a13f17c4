#include "image_class/image_class.h"

#include <cassert>
#include <cstdio>
#include <cstring>
#include <new>

#include "dib/dib_loader.h"
#include "image_class/point_intensity.h"

ImageClass::ImageClass(std::int32_t width, std::int32_t height) {
    assert(width >= 0 && height >= 0);
    auto record = std::make_unique<RgbImageRecord>();
    record->sizeX = width;
    record->sizeY = height;
    const std::size_t bytes = std::size_t{3} * static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    record->data = AllocatePixelBuffer(bytes);
    if (!record->data) {
        // A half-made image would be written through later; fail where the cause is.
        throw std::bad_alloc();
    }
    image = std::move(record);
    Clear();
}

int ImageClass::Load(const char* name) {
    if (image) {
        std::fputs("ImageClass:Imagem inexistente !\n", stdout);
        return 0;
    }
    image = LoadDibImage(name);
    return image ? 1 : 0;
}

void ImageClass::SetPos(std::int32_t x, std::int32_t y) {
    posX = x;
    posY = y;
}

std::int32_t ImageClass::SizeX() const {
    assert(image);
    return image->sizeX;
}

std::int32_t ImageClass::SizeY() const {
    assert(image);
    return image->sizeY;
}

std::size_t ImageClass::ByteCount() const {
    return std::size_t{3} * static_cast<std::size_t>(image->sizeX) * static_cast<std::size_t>(image->sizeY);
}

std::size_t ImageClass::PixelIndex(std::int32_t x, std::int32_t y) const {
    assert(image);
    assert(x >= 0 && x < image->sizeX && y >= 0 && y < image->sizeY);
    return (static_cast<std::size_t>(y) * static_cast<std::size_t>(image->sizeX) + static_cast<std::size_t>(x)) * 3;
}

void ImageClass::SetPixel(std::int32_t x, std::int32_t y, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    std::uint8_t* pixel = image->data.get() + PixelIndex(x, y);
    pixel[0] = r;
    pixel[1] = g;
    pixel[2] = b;
}

void ImageClass::GetPixel(std::int32_t x, std::int32_t y, std::uint8_t& r, std::uint8_t& g, std::uint8_t& b) const {
    const std::uint8_t* pixel = image->data.get() + PixelIndex(x, y);
    r = pixel[0];
    g = pixel[1];
    b = pixel[2];
}

std::int32_t ImageClass::GetPointIntensity(std::int32_t x, std::int32_t y) const {
    const std::uint8_t* pixel = image->data.get() + PixelIndex(x, y);
    return PointIntensity(pixel[0], pixel[1], pixel[2]);
}

void ImageClass::DrawLineH(std::int32_t y, std::int32_t x0, std::int32_t x1, std::uint8_t r, std::uint8_t g,
                           std::uint8_t b) {
    for (std::int32_t x = x0; x <= x1; ++x) {
        SetPixel(x, y, r, g, b);
    }
}

void ImageClass::DrawLineV(std::int32_t x, std::int32_t y0, std::int32_t y1, std::uint8_t r, std::uint8_t g,
                           std::uint8_t b) {
    for (std::int32_t y = y0; y <= y1; ++y) {
        SetPixel(x, y, r, g, b);
    }
}

void ImageClass::CopyTo(ImageClass& dest) const {
    assert(image && dest.image);
    assert(dest.ByteCount() >= ByteCount());
    if (&dest == this) {
        return;
    }
    std::memcpy(dest.image->data.get(), image->data.get(), ByteCount());
}

void ImageClass::Clear() {
    assert(image);
    std::memset(image->data.get(), 255, ByteCount());
}
