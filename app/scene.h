#pragma once

#include <memory>

#include "image/image_class.h"

// The picture read from "B.bmp", drawn at the window's lower-left corner.
extern std::unique_ptr<ImageClass> SourceImage;
// A picture of the same size, white until marked, drawn to the right of it.
extern std::unique_ptr<ImageClass> ResultImage;

// Builds both images; ends the process with status 1 when the picture cannot
// be loaded. Needs the window's GL context to be current.
void Init();

// GLUT callbacks: one GL unit per window pixel, origin at the lower-left corner.
void Reshape(int width, int height);
void Display();

// Marks SourceImage's dark pixels black in ResultImage.
void MarkDarkPixels();
