#pragma once

#include <cstdint>
#include <vector>

namespace desktop {

inline constexpr int kViewerIconSize = 32;

// The viewer's icon, drawn by our own rules: on the window's blue, a light
// picture with a dark outline and, beside it, the white mask that holds only
// the outline. kViewerIconSize rows of as many 0xAARRGGBB pixels, the top row
// first. The X11 windows carry it; the Windows program's icon file is made
// from it (tools/make_icon.cpp).
std::vector<std::uint32_t> ViewerIcon();

}  // namespace desktop
