#pragma once

#include <cstdint>

class ImageClass;

// Intensities below this are dark: 0 to 4.
inline constexpr std::int32_t kDarkThreshold = 5;

// Paints black in result every pixel whose intensity in source is dark. Other
// pixels of result are left as they are, so running it twice changes nothing
// more. Both images must hold pictures of the same width and height.
void MarkDarkPixels(const ImageClass& source, ImageClass& result);
