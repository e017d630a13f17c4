#include "desktop/linux/error_box.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <sys/select.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "desktop/linux/box_text.h"
#include "desktop/linux/desktop_dpi.h"
#include "desktop/linux/error_trap.h"
#include "desktop/linux/monitors.h"
#include "desktop/linux/window_facts.h"
#include "desktop/linux/window_manager.h"
#include "desktop/linux/window_names.h"

namespace desktop {
namespace {

// Sizes at 96 dots per inch, scaled with the desktop's like the text.
constexpr int kPadding = 16;
constexpr int kLineGap = 2;
constexpr int kMinWidth = 220;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 26;
constexpr std::string_view kButtonLabel = "OK";
constexpr int kBorder = 1;

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    if (lines.empty()) {
        lines.emplace_back();
    }
    return lines;
}

unsigned long NamedColor(Display* display, int screen, const char* name, unsigned long fallback) {
    XColor exact;
    XColor color;
    if (XAllocNamedColor(display, DefaultColormap(display, screen), name, &color, &exact) != 0) {
        return color.pixel;
    }
    return fallback;
}

// Everything the box needs to paint itself again on every expose.
struct Box {
    Display* display = nullptr;
    Window window = 0;
    Window owner = 0;
    GC gc = nullptr;
    BoxText* font = nullptr;
    std::vector<std::string> lines;
    int padding = 0;
    int lineHeight = 0;  // with the gap between lines
    int width = 0;
    int height = 0;
    int buttonX = 0;
    int buttonY = 0;
    int buttonWidth = 0;
    int buttonHeight = 0;
    unsigned long background = 0;
    unsigned long foreground = 0;
    unsigned long buttonFace = 0;
    Atom deleteWindow = 0;

    bool InButton(int x, int y) const {
        return x >= buttonX && x < buttonX + buttonWidth && y >= buttonY && y < buttonY + buttonHeight;
    }

    void Paint() const {
        int baseline = padding + font->Ascent();
        for (const std::string& line : lines) {
            font->Draw(window, padding, baseline, line, foreground);
            baseline += lineHeight;
        }
        XSetForeground(display, gc, buttonFace);
        XFillRectangle(display, window, gc, buttonX, buttonY, static_cast<unsigned>(buttonWidth),
                       static_cast<unsigned>(buttonHeight));
        XSetForeground(display, gc, foreground);
        XDrawRectangle(display, window, gc, buttonX, buttonY, static_cast<unsigned>(buttonWidth - 1),
                       static_cast<unsigned>(buttonHeight - 1));
        // The label's line centred in the button.
        const int labelX = buttonX + (buttonWidth - font->Width(kButtonLabel)) / 2;
        const int labelY = buttonY + (buttonHeight - font->LineHeight()) / 2 + font->Ascent();
        font->Draw(window, labelX, labelY, kButtonLabel, foreground);
    }
};

bool IsDismissKey(KeySym key) {
    return key == XK_Return || key == XK_KP_Enter || key == XK_Escape || key == XK_space;
}

// Blocks until the X connection has something to read, without spinning.
void WaitForEvents(Display* display) {
    const int fd = ConnectionNumber(display);
    while (XPending(display) == 0) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(fd, &readable);
        if (select(fd + 1, &readable, nullptr, nullptr, nullptr) < 0 && errno != EINTR) {
            return;
        }
    }
}

// Keys typed while the box is up are for the box, but a window manager may
// hand the focus to the owner when it is clicked: the box takes it back,
// through the window manager too where one runs (which then raises the box).
// userTime is that of the last key or click.
void TakeFocusFrom(Display* display, Window owner, Window box, Time userTime) {
    if (WindowManagerSupports(display, AtomName::NetActiveWindow)) {
        // From the application itself, at the time of that key or click, the owner having the focus.
        AskWindowManager(display, box, AtomName::NetActiveWindow,
                         {1, static_cast<long>(userTime), static_cast<long>(owner)});
    }
    // Directly too: a window manager that counts the box as active already
    // ignores the request. The owner has the focus, so the program may move it.
    XSetInputFocus(display, box, RevertToParent, CurrentTime);
}

// Where no window manager places the box's frame (the box and its border):
// over its owner where it fits there, else in the middle of the owner's
// monitor; never across two monitors.
Rect Placement(const Rect& over, const Rect& monitor, int width, int height) {
    const Rect centred{over.x + (over.width - width) / 2, over.y + (over.height - height) / 2, width, height};
    if (over.Contains(centred)) {
        return KeptOn(monitor, centred);
    }
    return KeptOn(monitor, {monitor.x + (monitor.width - width) / 2, monitor.y + (monitor.height - height) / 2, width,
                            height});
}

// The box's size and what goes where in it, for text in font at dpi, on a
// monitor of that size.
void LayOut(Box& box, std::string_view text, double dpi, const Rect& monitor) {
    const auto scaled = [dpi](int size) { return static_cast<int>(std::lround(size * dpi / 96)); };
    const BoxText& font = *box.font;
    box.padding = scaled(kPadding);
    box.lineHeight = font.LineHeight() + scaled(kLineGap);
    // Wide and tall enough for its label in whatever font there is.
    box.buttonWidth = std::max(scaled(kButtonWidth), font.Width(kButtonLabel) + box.padding);
    box.buttonHeight = std::max(scaled(kButtonHeight), font.LineHeight() + box.padding / 2);
    box.lines = SplitLines(text);
    int textWidth = 0;
    for (const std::string& line : box.lines) {
        textWidth = std::max(textWidth, font.Width(line));
    }
    box.width = std::min(std::max(textWidth + 2 * box.padding, scaled(kMinWidth)), monitor.width - 2 * kBorder);
    const int textHeight = static_cast<int>(box.lines.size()) * box.lineHeight;
    box.height = std::min(3 * box.padding + textHeight + box.buttonHeight, monitor.height - 2 * kBorder);
    box.buttonX = (box.width - box.buttonWidth) / 2;
    box.buttonY = box.height - box.padding - box.buttonHeight;
}

void ChooseColours(Box& box) {
    Display* display = box.display;
    const int screen = DefaultScreen(display);
    box.foreground = BlackPixel(display, screen);
    box.background = NamedColor(display, screen, "gray92", WhitePixel(display, screen));
    box.buttonFace = NamedColor(display, screen, "gray80", WhitePixel(display, screen));
}

// What the window manager reads as the box maps: a dialog of the viewer's, of
// a fixed size, that takes the keys, may be closed, is kept above its owner
// and is modal for it.
void DescribeToWindowManager(const Box& box, const std::string& title) {
    Display* display = box.display;
    XStoreName(display, box.window, title.c_str());
    NameForDesktop(display, box.window, title);
    Atom dialogType = AtomOf(display, AtomName::NetWmWindowTypeDialog);
    XChangeProperty(display, box.window, AtomOf(display, AtomName::NetWmWindowType), XA_ATOM, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(&dialogType), 1);
    XSetTransientForHint(display, box.window, box.owner);
    Atom modal = AtomOf(display, AtomName::NetWmStateModal);
    XChangeProperty(display, box.window, AtomOf(display, AtomName::NetWmState), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&modal), 1);
    XSizeHints* hints = XAllocSizeHints();
    if (hints != nullptr) {
        // No place: a window manager knows best where a dialog of its owner goes.
        hints->flags = PMinSize | PMaxSize;
        hints->min_width = hints->max_width = box.width;
        hints->min_height = hints->max_height = box.height;
    }
    // A window manager that keeps to the rules gives the focus only to a
    // window that asks for the keys.
    XWMHints input{};
    input.flags = InputHint;
    input.input = True;
    XSetWMProperties(display, box.window, nullptr, nullptr, nullptr, 0, hints, &input, ViewerClass());
    XFree(hints);
    Atom deleteWindow = box.deleteWindow;
    XSetWMProtocols(display, box.window, &deleteWindow, 1);
}

// Makes the box's window where it goes, over its owner, describes it and maps it.
void Open(Box& box, std::string_view caption, const Rect& owner, const Rect& monitor) {
    Display* display = box.display;
    const Rect place = Placement(owner, monitor, box.width + 2 * kBorder, box.height + 2 * kBorder);
    box.window = XCreateSimpleWindow(display, DefaultRootWindow(display), place.x, place.y,
                                     static_cast<unsigned>(box.width), static_cast<unsigned>(box.height), kBorder,
                                     box.foreground, box.background);
    box.deleteWindow = AtomOf(display, AtomName::WmDeleteWindow);
    DescribeToWindowManager(box, std::string(caption));
    XGCValues values{};
    values.foreground = box.foreground;
    values.background = box.background;
    box.gc = XCreateGC(display, box.window, GCForeground | GCBackground, &values);
    XSelectInput(display, box.window,
                 ExposureMask | KeyPressMask | ButtonPressMask | ButtonReleaseMask | StructureNotifyMask);
    XMapRaised(display, box.window);
}

// Handles the box's events until it is dismissed or the connection fails.
// The owner's events come here too, and nothing else reads them while the
// box is up: the owner passes its keys on to the box, a request to close it
// ends the box as one to close the box does, and the focus it gets goes on
// to the box. Keys pressed before the box showed, while the program was busy,
// were not meant for it: they do nothing.
void RunUntilDismissed(const Box& box) {
    Display* display = box.display;
    const Atom protocols = AtomOf(display, AtomName::WmProtocols);
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, box.owner, &attributes) != 0) {
        XSelectInput(display, box.owner, attributes.your_event_mask | FocusChangeMask);
    }
    bool shown = false;
    bool pressedInButton = false;
    Time userTime = CurrentTime;
    bool done = false;
    while (!done) {
        WaitForEvents(display);
        if (XPending(display) == 0) {
            break;  // the connection failed
        }
        XEvent event;
        XNextEvent(display, &event);
        const bool onBox = event.xany.window == box.window;
        switch (event.type) {
            case MapNotify:
                // The server reports events in order: every key queued before this was pressed before the box showed.
                shown = shown || onBox;
                // Modal: the keys go to the box while it is up. A window
                // manager gives the focus itself, once the box's frame shows.
                if (onBox && !WindowManagerRuns(display)) {
                    XSetInputFocus(display, box.window, RevertToParent, CurrentTime);
                }
                break;
            case FocusIn:
                if (event.xfocus.window == box.owner && event.xfocus.detail != NotifyPointer) {
                    TakeFocusFrom(display, box.owner, box.window, userTime);
                }
                break;
            case Expose:
                if (onBox && event.xexpose.count == 0) {
                    box.Paint();
                }
                break;
            case KeyPress:
                if (shown) {
                    userTime = event.xkey.time;
                    done = IsDismissKey(XLookupKeysym(&event.xkey, 0));
                }
                break;
            case ButtonPress:
                userTime = event.xbutton.time;
                pressedInButton = onBox && event.xbutton.button == Button1 &&
                                  box.InButton(event.xbutton.x, event.xbutton.y);
                break;
            case ButtonRelease:
                userTime = event.xbutton.time;
                done = pressedInButton && onBox && event.xbutton.button == Button1 &&
                       box.InButton(event.xbutton.x, event.xbutton.y);
                pressedInButton = false;
                break;
            case ClientMessage:
                done = event.xclient.message_type == protocols &&
                       static_cast<Atom>(event.xclient.data.l[0]) == box.deleteWindow;
                break;
            case DestroyNotify:
                done = event.xdestroywindow.window == box.window;
                break;
            default:
                break;
        }
    }
}

// Takes the box off the screen at once. font goes first: the Render picture
// it draws through goes with the window on the server.
void Close(const Box& box, std::optional<BoxText>& font) {
    XFreeGC(box.display, box.gc);
    font.reset();
    XDestroyWindow(box.display, box.window);
    XFlush(box.display);
}

}  // namespace

void ShowErrorBox(Display* display, Window owner, std::string_view caption, std::string_view text) {
    // Another client may destroy the box, or its owner, at any moment, and a
    // request on either then fails. Once one is gone nothing the box asked
    // for matters: the program goes on to end as when the box is dismissed.
    const ErrorTrap trap(display);
    // The box shares its owner's connection, so that what happens to the
    // owner while the box is up reaches the box.
    Box box;
    box.display = display;
    box.owner = owner;
    const double dpi = DesktopDpi(display);
    std::optional<BoxText> font(std::in_place, display, DefaultScreen(display), dpi);
    box.font = &*font;
    // An owner that is already gone leaves the whole screen to the box.
    const std::optional<WindowFacts> facts = AskAbout(display, owner, false);
    const int number = DefaultScreen(display);
    const Rect screen{0, 0, DisplayWidth(display, number), DisplayHeight(display, number)};
    const Rect over = facts ? facts->inside : screen;
    const Rect monitor = facts ? facts->MonitorOf(over) : screen;
    LayOut(box, text, dpi, monitor);
    ChooseColours(box);
    Open(box, caption, over, monitor);
    RunUntilDismissed(box);
    Close(box, font);
}

}  // namespace desktop
