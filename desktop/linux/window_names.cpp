#include "desktop/linux/window_names.h"

#include <X11/Xatom.h>
#include <unistd.h>

#include <vector>

#include "desktop/linux/atoms.h"
#include "desktop/viewer_icon.h"

namespace desktop {
namespace {

// Format 32 properties are handed to Xlib as longs, whatever their width:
// the width and height, then the pixels.
std::vector<unsigned long> Icon() {
    const std::vector<std::uint32_t> pixels = ViewerIcon();
    std::vector<unsigned long> icon{kViewerIconSize, kViewerIconSize};
    icon.insert(icon.end(), pixels.begin(), pixels.end());
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
