#include "desktop/linux/window_names.h"

#include <X11/Xatom.h>
#include <unistd.h>

#include <vector>

#include "desktop/linux/atoms.h"

namespace desktop {
namespace {

constexpr int kIconSize = 32;

// Our own drawing: on the window's blue, a light picture with a dark outline
// and, beside it, the white mask that holds only the outline.
std::vector<unsigned long> Icon() {
    constexpr int kPanel = 12, kTop = 10, kLeft[] = {3, 17};
    std::vector<unsigned long> icon{kIconSize, kIconSize};
    for (int y = 0; y < kIconSize; ++y) {
        for (int x = 0; x < kIconSize; ++x) {
            unsigned long argb = 0xFF0000FF;
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

}  // namespace

XClassHint* ViewerClass() {
    static char instance[] = "image-border";
    static char windowClass[] = "ImageBorder";
    static XClassHint hint{instance, windowClass};
    return &hint;
}

void NameForDesktop(Display* display, Window window, std::string_view title) {
    XChangeProperty(display, window, AtomOf(display, AtomName::NetWmName),
                    AtomOf(display, AtomName::Utf8String), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title.data()), static_cast<int>(title.size()));
    // Format 32 properties are handed to Xlib as longs, whatever their width.
    const long pid = getpid();
    XChangeProperty(display, window, AtomOf(display, AtomName::NetWmPid), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pid), 1);
    const std::vector<unsigned long> icon = Icon();
    XChangeProperty(display, window, AtomOf(display, AtomName::NetWmIcon), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(icon.data()), static_cast<int>(icon.size()));
}

}  // namespace desktop
