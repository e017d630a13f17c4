// No scene.h here: Xlib defines a type named Display.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dlfcn.h>

#include <string>

#include "app/desktop_names.h"

namespace {

std::string Utf8Text(::Display* display, XTextProperty* text) {
    std::string utf8;
    char** list = nullptr;
    int count = 0;
    if (text != nullptr && Xutf8TextPropertyToTextList(display, text, &list, &count) >= Success && count > 0) {
        utf8 = list[0];
    }
    if (list != nullptr) {
        XFreeStringList(list);
    }
    return utf8;
}

// The X server then fills whatever of the window shows and has not been drawn
// in the GL's clear colour: before the first frame, and while the error box is
// up and the viewer draws nothing, never black or stale pixels.
void PaintBlueUntilDrawn(::Display* display, Window window) {
    XWindowAttributes attributes;
    XColor blue{};
    blue.blue = 0xFFFF;
    if (XGetWindowAttributes(display, window, &attributes) != 0 && XAllocColor(display, attributes.colormap, &blue) != 0) {
        XSetWindowBackground(display, window, blue.pixel);
    }
}

}  // namespace

// GLUT describes its window to the window manager in one call to
// XSetWMProperties, just before it maps the window, and has no way to add to
// it. What a window manager reads as it takes a window on must be there by
// then: set once glutCreateWindow has returned, it comes too late (and
// WM_CLASS may change only while a window is unmapped). So the viewer defines
// XSetWMProperties itself; the linker exports the definition, since GLUT's
// library calls the name, and GLUT's call comes here before it goes to Xlib.
// GLUT gives no class; the error box gives its own.
extern "C" void XSetWMProperties(::Display* display, Window window, XTextProperty* windowName,
                                 XTextProperty* iconName, char** argv, int argc, XSizeHints* normalHints,
                                 XWMHints* wmHints, XClassHint* classHint) {
    static const auto xlibSetWMProperties =
        reinterpret_cast<decltype(&XSetWMProperties)>(dlsym(RTLD_NEXT, "XSetWMProperties"));
    const bool glutWindow = classHint == nullptr;
    if (xlibSetWMProperties != nullptr) {
        xlibSetWMProperties(display, window, windowName, iconName, argv, argc, normalHints, wmHints,
                            glutWindow ? ViewerClass() : classHint);
    }
    if (glutWindow) {
        NameForDesktop(display, window, Utf8Text(display, windowName));
        PaintBlueUntilDrawn(display, window);
    }
}
