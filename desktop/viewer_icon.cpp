#include "desktop/viewer_icon.h"

namespace desktop {

std::vector<std::uint32_t> ViewerIcon() {
    constexpr int kPanel = 12, kTop = 10, kLeft[] = {3, 17};
    std::vector<std::uint32_t> icon;
    for (int y = 0; y < kViewerIconSize; ++y) {
        for (int x = 0; x < kViewerIconSize; ++x) {
            std::uint32_t argb = 0xFF0000FF;
            for (const int left : kLeft) {
                const int u = x - left, v = y - kTop;
                if (u < 0 || u >= kPanel || v < 0 || v >= kPanel) {
                    continue;
                }
                const bool outline = u == 0 || v == 0 || u == kPanel - 1 || v == kPanel - 1 || u == v;
                const bool mask = left != kLeft[0];
                argb = outline ? (mask ? 0xFF000000 : 0xFF202020) : (mask ? 0xFFFFFFFF : 0xFFF0D890);
            }
            icon.push_back(argb);
        }
    }
    return icon;
}

}  // namespace desktop
