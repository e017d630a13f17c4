// Xlib functions the viewer defines itself. GLUT does in one call what the
// viewer must see to in the middle of it, and has no way to add to it. GLUT's
// library calls these by name and the linker exports the program's own
// definitions (the desktop target is an object library so that they are
// linked in), so that every call comes here first; each hands it on to
// Xlib's own function, found after the program with dlsym.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <optional>

#include "desktop/linux/glut_init.h"
#include "desktop/linux/window_names.h"
#include "desktop/linux/window_properties.h"

namespace {

// Xlib's own function; null where it cannot be found, which is said on
// standard error with what follows from it.
template <typename Function>
Function XlibOwn(const char* name, const char* consequence) {
    const auto found = reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
    if (found == nullptr) {
        std::fprintf(stderr, "image-border: Xlib's %s was not found%s\n", name, consequence);
    }
    return found;
}

}  // namespace

// Replaced because GLUT opens its connection and at once asks it whether a
// window manager runs. Hands on the name; the connection Xlib opens is made
// ready for GLUT (desktop::ReadyGlutConnection) before GLUT has it.
extern "C" Display* XOpenDisplay(const char* name) {
    static const auto xlib = XlibOwn<decltype(&XOpenDisplay)>("XOpenDisplay", "");
    Display* const display = xlib != nullptr ? xlib(name) : nullptr;
    if (display != nullptr) {
        desktop::ReadyGlutConnection(display);
    }
    return display;
}

// Replaced because GLUT makes its window without a background, and the server
// fills what has not been drawn yet with the background: before the first
// frame, and while the error box is up and the viewer draws nothing. Hands on
// every argument, with the viewer's background on the window being made,
// over any background pixmap asked for.
extern "C" Window XCreateWindow(Display* display, Window parent, int x, int y, unsigned width, unsigned height,
                                unsigned border, int depth, unsigned windowClass, Visual* visual,
                                unsigned long valueMask, XSetWindowAttributes* attributes) {
    static const auto xlib = XlibOwn<decltype(&XCreateWindow)>("XCreateWindow", ": no window can be made");
    if (xlib == nullptr) {
        // GLUT is half-way through making its window: its clean-up at exit must not run on it.
        std::_Exit(EXIT_FAILURE);
    }
    XSetWindowAttributes withBackground{};
    if (const std::optional<unsigned long> pixel = desktop::BackgroundOfWindowBeingMade(display, visual)) {
        if (attributes != nullptr) {
            withBackground = *attributes;
        }
        withBackground.background_pixel = *pixel;
        valueMask |= CWBackPixel;
        attributes = &withBackground;
    }
    return xlib(display, parent, x, y, width, height, border, depth, windowClass, visual, valueMask, attributes);
}

// Replaced because GLUT describes its window to the window manager in this
// one call, just before it maps it: what a window manager reads as it takes
// the window on must be there by then, and WM_CLASS may change only while
// the window is unmapped. Hands on GLUT's hints; for the window being made,
// with the viewer's title in UTF-8 and class in place of GLUT's, and then
// names the window for the desktop (desktop::WindowBeingMadeDescribed).
extern "C" void XSetWMProperties(Display* display, Window window, XTextProperty* windowName, XTextProperty* iconName,
                                 char** argv, int argc, XSizeHints* normalHints, XWMHints* wmHints,
                                 XClassHint* classHint) {
    static const auto xlib = XlibOwn<decltype(&XSetWMProperties)>(
        "XSetWMProperties", ": windows map without their names, class and hints");
    const char* const title = desktop::TitleOfWindowBeingMade();
    XTextProperty utf8Title{};
    if (title != nullptr) {
        char* list[] = {const_cast<char*>(title)};
        if (Xutf8TextListToTextProperty(display, list, 1, XStdICCTextStyle, &utf8Title) >= Success) {
            windowName = iconName = &utf8Title;
        }
        classHint = desktop::ViewerClass();
    }
    if (xlib != nullptr) {
        xlib(display, window, windowName, iconName, argv, argc, normalHints, wmHints, classHint);
    }
    desktop::WindowBeingMadeDescribed(display, window);
    XFree(utf8Title.value);
}
