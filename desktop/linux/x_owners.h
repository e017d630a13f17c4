#pragma once

#include <X11/Xlib.h>

#include <memory>
#include <type_traits>

namespace desktop {

// A graphics context of ours, freed as its owner goes.
struct GcFreer {
    Display* display;
    void operator()(GC gc) const { XFreeGC(display, gc); }
};
using OwnedGc = std::unique_ptr<std::remove_pointer_t<GC>, GcFreer>;

// A window of ours, destroyed as its owner goes, and taken off the screen at
// once: the request is sent then, not whenever Xlib next sends.
class OwnedWindow {
public:
    explicit OwnedWindow(Display* display) : display_(display) {}
    ~OwnedWindow() { reset(0); }
    OwnedWindow(const OwnedWindow&) = delete;
    OwnedWindow& operator=(const OwnedWindow&) = delete;

    Window get() const { return window_; }
    void reset(Window window) {
        if (window_ != 0) {
            XDestroyWindow(display_, window_);
            XFlush(display_);
        }
        window_ = window;
    }

private:
    Display* display_;
    Window window_ = 0;
};

}  // namespace desktop
