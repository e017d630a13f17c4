#include "desktop/linux/window_properties.h"

#include <GL/glut.h>

#include <cstdio>

#include "desktop/linux/window_names.h"

namespace desktop {
namespace {

// Set only while glutCreateWindow runs: GLUT describes its window in that call.
struct PendingWindow {
    const char* title = nullptr;
    std::uint32_t background = 0;
    DesktopWindow described;
};
PendingWindow* pending = nullptr;

}  // namespace

DesktopWindow CreateDesktopWindow(const char* title, std::uint32_t background) {
    PendingWindow window{title, background, {}};
    pending = &window;
    glutCreateWindow(title);
    pending = nullptr;
    if (window.described.display == nullptr) {
        // A GLUT that no longer describes its window through XSetWMProperties:
        // the window maps unnamed. Say so rather than pass silently.
        std::fputs("image-border: the window was mapped before it could be named for the desktop\n", stderr);
    }
    return window.described;
}

const char* TitleOfWindowBeingMade() {
    return pending != nullptr ? pending->title : nullptr;
}

std::optional<unsigned long> BackgroundOfWindowBeingMade(Display* display, const Visual* visual) {
    const Visual* const shown = visual != CopyFromParent ? visual : DefaultVisual(display, DefaultScreen(display));
    if (pending == nullptr || (shown->c_class != TrueColor && shown->c_class != DirectColor)) {
        return std::nullopt;
    }
    const std::uint32_t rgb = pending->background;
    const auto component = [](unsigned long mask, std::uint32_t value) {
        if (mask == 0) {
            return 0ul;
        }
        const int shift = __builtin_ctzl(mask);
        return (value * (mask >> shift) + 127) / 255 << shift;
    };
    return component(shown->red_mask, rgb >> 16 & 0xFF) | component(shown->green_mask, rgb >> 8 & 0xFF) |
           component(shown->blue_mask, rgb & 0xFF);
}

void WindowBeingMadeDescribed(Display* display, Window window) {
    if (pending != nullptr) {
        NameForDesktop(display, window, pending->title);
        pending->described = {display, window};
    }
}

}  // namespace desktop
