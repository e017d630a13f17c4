#pragma once

#include <cstdint>
#include <memory>

#include "image_class/image_class.h"

namespace viewer {

// The picture read from "B.bmp", drawn at the window's lower-left corner.
extern std::unique_ptr<ImageClass> SourceImage;
// A picture of the same size, white until marked, drawn to the right of it.
extern std::unique_ptr<ImageClass> ResultImage;

// What the window shows where no picture is.
inline constexpr std::uint32_t kBackground = 0x0000FF;

// Builds both images; ends the process with status 1 when the picture cannot
// be loaded. Needs the window's GL context to be current.
void Init();

// GLUT callbacks: one GL unit per window pixel, origin at the lower-left corner.
void Reshape(int width, int height);
void Display();

// Marks SourceImage's dark pixels black in ResultImage.
void MarkDarkPixels();

}  // namespace viewer
