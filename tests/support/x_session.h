#pragma once

// A test includes gtest before this: Xlib's macros (None, Bool) break gtest's headers.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "child_process.h"
#include "test_picture.h"

// A client of the test's X server ($DISPLAY). X errors are ignored: a window
// resized or gone under a request fails that request only, and we poll again.
class XSession {
public:
    // Waits for the server a while: a nested one may still be starting.
    XSession() {
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        if (!Poll([&] { return display_.reset(XOpenDisplay(nullptr)), display_ != nullptr; }, 10)) {
            throw std::runtime_error("cannot open the X display; run under xvfb-run");
        }
    }
    Display* Raw() const { return display_.get(); }
    Window Root() const { return DefaultRootWindow(Raw()); }

    // A window's parent, and its children from the bottom of the stack up.
    std::pair<Window, std::vector<Window>> Tree(Window window) const {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        XQueryTree(Raw(), window, &root, &parent, &children, &count);
        std::pair<Window, std::vector<Window>> tree{parent, {children, children + count}};
        XFree(children);
        return tree;
    }

    // Viewable windows named title (WM_NAME), at any depth: a window manager
    // puts each client window inside a frame of its own.
    std::vector<Window> FindWindows(const std::string& title, Window under = 0) const {
        std::vector<Window> found;
        for (const Window child : Tree(under != 0 ? under : Root()).second) {
            char* name = nullptr;
            XWindowAttributes attributes;
            if (XFetchName(Raw(), child, &name) != 0 && title == name &&
                XGetWindowAttributes(Raw(), child, &attributes) != 0 && attributes.map_state == IsViewable) {
                found.push_back(child);
            }
            XFree(name);
            std::ranges::copy(FindWindows(title, child), std::back_inserter(found));
        }
        return found;
    }

    std::optional<Window> WaitForWindow(const std::string& title, double timeoutSeconds = 5.0) const {
        std::vector<Window> windows;
        return Poll([&] { return (windows = FindWindows(title)).size() == 1; }, timeoutSeconds)
                   ? std::optional(windows[0])
                   : std::nullopt;
    }

    // x and y of the window's inside on the screen, then its width and height.
    std::optional<std::array<int, 4>> Geometry(Window window) const {
        XWindowAttributes a;
        int x = 0, y = 0;
        Window child = 0;
        if (XGetWindowAttributes(Raw(), window, &a) == 0 ||
            XTranslateCoordinates(Raw(), window, Root(), 0, 0, &x, &y, &child) == 0) {
            return std::nullopt;
        }
        return std::array{x, y, a.width, a.height};
    }

    // The root's child that holds the window: its frame, or the window itself
    // where no window manager runs; 0 when the window is gone.
    Window TopLevel(Window window) const {
        while (window != 0) {
            const Window parent = Tree(window).first;
            if (parent == Root()) {
                return window;
            }
            window = parent;
        }
        return 0;
    }

    // Whether a is stacked above b, frames and all; false when either is gone.
    bool StackedAbove(Window a, Window b) const {
        const std::vector<Window> stack = Tree(Root()).second;
        const auto above = std::ranges::find(stack, TopLevel(a)), below = std::ranges::find(stack, TopLevel(b));
        return above != stack.end() && below != stack.end() && above > below;
    }

    // A property of that type as another client reads it, an item per byte
    // or per 32-bit value (which Xlib hands over as longs); empty when it has another type.
    std::vector<long> Property(Window window, const char* name, const char* type) const {
        Atom actualType = 0;
        int format = 0;
        unsigned long count = 0, remaining = 0;
        unsigned char* data = nullptr;
        XGetWindowProperty(Raw(), window, Intern(name), 0, 1 << 16, False, Intern(type), &actualType, &format,
                           &count, &remaining, &data);
        std::vector<long> items;
        for (unsigned long i = 0; i < count; ++i) {
            items.push_back(format == 32 ? reinterpret_cast<const long*>(data)[i] : data[i]);
        }
        XFree(data);
        return items;
    }
    long Intern(const char* name) const { return static_cast<long>(XInternAtom(Raw(), name, False)); }

    // Whether a window manager runs, as the desktop conventions tell: the root
    // names a check window, which is there and names itself.
    bool WindowManagerRuns() const {
        const std::vector<long> check = Property(Root(), "_NET_SUPPORTING_WM_CHECK", "WINDOW");
        return check.size() == 1 && Property(check[0], "_NET_SUPPORTING_WM_CHECK", "WINDOW") == check;
    }

    // The window's contents, bottom row first.
    std::optional<Rows> Grab(Window window) const {
        const auto geometry = Geometry(window);
        XImage* image = geometry ? XGetImage(Raw(), window, 0, 0, (*geometry)[2], (*geometry)[3], AllPlanes, ZPixmap)
                                 : nullptr;
        if (image == nullptr) {
            return std::nullopt;  // unmapped, or resized while we asked
        }
        // The server's 24-bit TrueColor visual: a pixel value is 0xRRGGBB.
        Rows rows = Flat(image->width, image->height, 0);
        for (int y = 0; y < image->height; ++y) {
            for (int x = 0; x < image->width; ++x) {
                rows[image->height - 1 - y][x] = static_cast<std::uint32_t>(XGetPixel(image, x, y) & 0xFFFFFF);
            }
        }
        XDestroyImage(image);
        return rows;
    }

    Window Focus() const {
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(Raw(), &focus, &revert);
        return focus;
    }

    // Whether the window gets, or keeps, the keyboard's focus.
    bool HasFocus(Window window) const {
        return Poll([&] { return Focus() == window; });
    }

    // Focuses the window and types the keys in turn, with Shift where a keysym needs it.
    // With no window, types where the focus already is, the pointer away in a corner.
    void Type(Window window, const std::vector<KeySym>& keys) const {
        if (window != 0) {
            XSetInputFocus(Raw(), window, RevertToPointerRoot, CurrentTime);
        } else {
            XTestFakeMotionEvent(Raw(), -1, 0, 0, CurrentTime);
        }
        for (const KeySym key : keys) {
            const KeyCode code = XKeysymToKeycode(Raw(), key);
            const KeyCode shift =
                XkbKeycodeToKeysym(Raw(), code, 0, 0) != key ? XKeysymToKeycode(Raw(), XK_Shift_L) : 0;
            for (const auto& [keyCode, down] : {std::pair{shift, True}, {code, True}, {code, False}, {shift, False}}) {
                if (keyCode != 0) {
                    XTestFakeKeyEvent(Raw(), keyCode, down, CurrentTime);
                }
            }
        }
        XSync(Raw(), False);
    }

    // Presses the first button at (x, y) inside the window and lets it go at (upX, upY).
    void Click(Window window, int x, int y, int upX, int upY) const {
        const auto place = Geometry(window).value();
        XTestFakeMotionEvent(Raw(), -1, place[0] + x, place[1] + y, CurrentTime);
        XTestFakeButtonEvent(Raw(), 1, True, CurrentTime);
        XTestFakeMotionEvent(Raw(), -1, place[0] + upX, place[1] + upY, CurrentTime);
        XTestFakeButtonEvent(Raw(), 1, False, CurrentTime);
        XSync(Raw(), False);
    }

    // Asks the window to close, as a window manager does when the user closes it.
    void Close(Window window) const {
        XEvent close{};
        close.xclient.type = ClientMessage;
        close.xclient.window = window;
        close.xclient.message_type = XInternAtom(Raw(), "WM_PROTOCOLS", False);
        close.xclient.format = 32;
        close.xclient.data.l[0] = Intern("WM_DELETE_WINDOW");
        XSendEvent(Raw(), window, False, NoEventMask, &close);
        XSync(Raw(), False);
    }

    void Destroy(Window window) const {
        XDestroyWindow(Raw(), window);
        XSync(Raw(), False);
    }

private:
    std::unique_ptr<Display, decltype(&XCloseDisplay)> display_{nullptr, XCloseDisplay};
};
