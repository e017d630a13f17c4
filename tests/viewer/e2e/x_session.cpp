#include "x_session.h"

#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace {

int IgnoreXError(::Display*, XErrorEvent*) {
    return 0;
}

using Clock = std::chrono::steady_clock;

Clock::time_point Deadline(double seconds) {
    return Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

void Pause() {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

int Shift(unsigned long mask) {
    int shift = 0;
    while (mask != 0 && (mask & 1) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

std::string Hex(std::uint32_t colour) {
    std::ostringstream text;
    text << "0x" << std::hex << colour;
    return text.str();
}

}  // namespace

Frame ExpectedFrame(int width, int height, const std::vector<PlacedPicture>& pictures) {
    Frame frame{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, kBlue)};
    for (const PlacedPicture& placed : pictures) {
        // The GL drops a raster position outside the view volume, and the whole picture with it.
        if (placed.x < 0 || placed.y < 0 || placed.x > width || placed.y > height) {
            continue;
        }
        for (int y = 0; y < placed.picture->height && placed.y + y < height; ++y) {
            for (int x = 0; x < placed.picture->width && placed.x + x < width; ++x) {
                frame.At(placed.x + x, placed.y + y) = placed.picture->At(x, y);
            }
        }
    }
    return frame;
}

XSession::XSession() {
    XSetErrorHandler(IgnoreXError);
    display_ = XOpenDisplay(nullptr);
    if (display_ == nullptr) {
        throw std::runtime_error("cannot open the X display; run under xvfb-run");
    }
}

XSession::~XSession() {
    XCloseDisplay(display_);
}

int XSession::ScreenWidth() const {
    return DisplayWidth(display_, DefaultScreen(display_));
}

int XSession::ScreenHeight() const {
    return DisplayHeight(display_, DefaultScreen(display_));
}

std::vector<Window> XSession::FindWindows(const std::string& title) {
    std::vector<Window> found;
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count) == 0) {
        return found;
    }
    for (unsigned i = 0; i < count; ++i) {
        char* name = nullptr;
        XWindowAttributes attributes;
        if (XFetchName(display_, children[i], &name) != 0 && name != nullptr) {
            if (title == name && XGetWindowAttributes(display_, children[i], &attributes) != 0 &&
                attributes.map_state == IsViewable) {
                found.push_back(children[i]);
            }
            XFree(name);
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

std::optional<Window> XSession::WaitForWindow(const std::string& title, double timeoutSeconds) {
    const auto deadline = Deadline(timeoutSeconds);
    do {
        const std::vector<Window> windows = FindWindows(title);
        if (windows.size() == 1) {
            return windows.front();
        }
        Pause();
    } while (Clock::now() < deadline);
    return std::nullopt;
}

bool XSession::WaitForNoWindow(const std::string& title, double timeoutSeconds) {
    const auto deadline = Deadline(timeoutSeconds);
    do {
        if (FindWindows(title).empty()) {
            return true;
        }
        Pause();
    } while (Clock::now() < deadline);
    return false;
}

std::optional<WindowGeometry> XSession::Geometry(Window window) {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display_, window, &attributes) == 0) {
        return std::nullopt;
    }
    WindowGeometry geometry{0, 0, attributes.width, attributes.height};
    Window child = 0;
    if (XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &geometry.x, &geometry.y,
                              &child) == 0) {
        return std::nullopt;
    }
    return geometry;
}

bool XSession::WaitForSize(Window window, int width, int height, double timeoutSeconds) {
    const auto deadline = Deadline(timeoutSeconds);
    do {
        const auto geometry = Geometry(window);
        if (geometry && geometry->width == width && geometry->height == height) {
            return true;
        }
        Pause();
    } while (Clock::now() < deadline);
    return false;
}

std::optional<Frame> XSession::Grab(Window window) {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display_, window, &attributes) == 0 || attributes.map_state != IsViewable) {
        return std::nullopt;
    }
    XImage* image = XGetImage(display_, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (image == nullptr) {
        return std::nullopt;  // resized or unmapped while we asked
    }
    const int redShift = Shift(image->red_mask);
    const int greenShift = Shift(image->green_mask);
    const int blueShift = Shift(image->blue_mask);
    Frame frame{image->width, image->height, {}};
    frame.pixels.reserve(static_cast<std::size_t>(image->width) * image->height);
    for (int y = 0; y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            frame.pixels.push_back(static_cast<std::uint32_t>((pixel & image->red_mask) >> redShift) << 16 |
                                   static_cast<std::uint32_t>((pixel & image->green_mask) >> greenShift) << 8 |
                                   static_cast<std::uint32_t>((pixel & image->blue_mask) >> blueShift));
        }
    }
    XDestroyImage(image);
    return frame;
}

::testing::AssertionResult XSession::WaitForFrame(Window window, const Frame& expected, double timeoutSeconds) {
    const auto deadline = Deadline(timeoutSeconds);
    std::string last = "no frame could be read";
    do {
        const std::optional<Frame> frame = Grab(window);
        if (frame) {
            if (frame->width != expected.width || frame->height != expected.height) {
                last = "window is " + std::to_string(frame->width) + "x" + std::to_string(frame->height) +
                       ", expected " + std::to_string(expected.width) + "x" + std::to_string(expected.height);
            } else if (frame->pixels == expected.pixels) {
                return ::testing::AssertionSuccess();
            } else {
                std::size_t wrong = 0;
                std::ostringstream first;
                for (int y = 0; y < expected.height; ++y) {
                    for (int x = 0; x < expected.width; ++x) {
                        if (frame->At(x, y) != expected.At(x, y) && wrong++ == 0) {
                            first << "first at (" << x << ", " << y << ") from the lower-left: "
                                  << Hex(frame->At(x, y)) << " instead of " << Hex(expected.At(x, y));
                        }
                    }
                }
                last = std::to_string(wrong) + " pixels differ; " + first.str();
            }
        }
        Pause();
    } while (Clock::now() < deadline);
    return ::testing::AssertionFailure() << last;
}

void XSession::PressKey(Window window, KeySym key) {
    XSetInputFocus(display_, window, RevertToPointerRoot, CurrentTime);
    const KeyCode code = XKeysymToKeycode(display_, key);
    if (code == 0) {
        throw std::runtime_error("no key for keysym " + std::to_string(key));
    }
    const bool shifted = XkbKeycodeToKeysym(display_, code, 0, 0) != key;
    const KeyCode shift = XKeysymToKeycode(display_, XK_Shift_L);
    if (shifted) {
        XTestFakeKeyEvent(display_, shift, True, CurrentTime);
    }
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, False, CurrentTime);
    if (shifted) {
        XTestFakeKeyEvent(display_, shift, False, CurrentTime);
    }
    XSync(display_, False);
}

void XSession::Click(Window window, int x, int y) {
    const auto geometry = Geometry(window);
    if (!geometry) {
        throw std::runtime_error("window is gone");
    }
    XTestFakeMotionEvent(display_, DefaultScreen(display_), geometry->x + x, geometry->y + y, CurrentTime);
    XTestFakeButtonEvent(display_, 1, True, CurrentTime);
    XTestFakeButtonEvent(display_, 1, False, CurrentTime);
    XSync(display_, False);
}
