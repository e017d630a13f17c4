#include "desktop/linux/window_properties.h"

#include <GL/glut.h>
#include <X11/Xutil.h>
#include <dlfcn.h>

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

// The pixel of rgb (0xRRGGBB) on a visual whose pixels hold their colour, as
// the GL's RGB visuals do: no colour need be asked of the server.
unsigned long PixelOf(const Visual* visual, std::uint32_t rgb) {
    const auto component = [](unsigned long mask, std::uint32_t value) {
        if (mask == 0) {
            return 0ul;
        }
        const int shift = __builtin_ctzl(mask);
        return (value * (mask >> shift) + 127) / 255 << shift;
    };
    return component(visual->red_mask, rgb >> 16 & 0xFF) | component(visual->green_mask, rgb >> 8 & 0xFF) |
           component(visual->blue_mask, rgb & 0xFF);
}

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

}  // namespace desktop

// GLUT describes its window to the window manager in one call to
// XSetWMProperties, just before it maps the window, and has no way to add to
// it. What a window manager reads as it takes a window on must be there by
// then: set once glutCreateWindow has returned, it comes too late (and
// WM_CLASS may change only while a window is unmapped). So the viewer defines
// XSetWMProperties itself; the linker exports the definition, since GLUT's
// library calls the name, and every call comes here before it goes to Xlib.
// While glutCreateWindow runs, the call is GLUT's, whatever it passes: the
// title and class are the viewer's own.
extern "C" void XSetWMProperties(Display* display, Window window, XTextProperty* windowName, XTextProperty* iconName,
                                 char** argv, int argc, XSizeHints* normalHints, XWMHints* wmHints,
                                 XClassHint* classHint) {
    static const auto xlibSetWMProperties = [] {
        const auto found = reinterpret_cast<decltype(&XSetWMProperties)>(dlsym(RTLD_NEXT, "XSetWMProperties"));
        if (found == nullptr) {
            std::fputs("image-border: Xlib's XSetWMProperties was not found: windows map without their names, class"
                       " and hints\n",
                       stderr);
        }
        return found;
    }();
    using desktop::pending;
    XTextProperty title{};
    if (pending != nullptr) {
        char* list[] = {const_cast<char*>(pending->title)};
        if (Xutf8TextListToTextProperty(display, list, 1, XStdICCTextStyle, &title) >= Success) {
            windowName = iconName = &title;
        }
        classHint = desktop::ViewerClass();
    }
    if (xlibSetWMProperties != nullptr) {
        xlibSetWMProperties(display, window, windowName, iconName, argv, argc, normalHints, wmHints, classHint);
    }
    if (pending != nullptr) {
        desktop::NameForDesktop(display, window, pending->title);
        pending->described = {display, window};
    }
    XFree(title.value);
}

// The window is made with the background the server then fills whatever of
// it shows and has not been drawn in: before the first frame, and while the
// error box is up and the viewer draws nothing, never black or stale pixels.
extern "C" Window XCreateWindow(Display* display, Window parent, int x, int y, unsigned width, unsigned height,
                                unsigned border, int depth, unsigned windowClass, Visual* visual,
                                unsigned long valueMask, XSetWindowAttributes* attributes) {
    static const auto xlibCreateWindow = reinterpret_cast<decltype(&XCreateWindow)>(dlsym(RTLD_NEXT, "XCreateWindow"));
    XSetWindowAttributes withBackground{};
    const Visual* const shown = visual != CopyFromParent ? visual : DefaultVisual(display, DefaultScreen(display));
    if (desktop::pending != nullptr && (shown->c_class == TrueColor || shown->c_class == DirectColor)) {
        if (attributes != nullptr) {
            withBackground = *attributes;
        }
        // It overrides any background pixmap asked for.
        withBackground.background_pixel = desktop::PixelOf(shown, desktop::pending->background);
        valueMask |= CWBackPixel;
        attributes = &withBackground;
    }
    return xlibCreateWindow(display, parent, x, y, width, height, border, depth, windowClass, visual, valueMask,
                            attributes);
}
