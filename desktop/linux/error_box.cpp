#include "desktop/linux/error_box.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "desktop/linux/atoms.h"
#include "desktop/linux/box_events.h"
#include "desktop/linux/box_text.h"
#include "desktop/linux/desktop_dpi.h"
#include "desktop/linux/error_trap.h"
#include "desktop/linux/monitors.h"
#include "desktop/linux/window_facts.h"
#include "desktop/linux/window_names.h"
#include "desktop/linux/x_owners.h"

namespace desktop {
namespace {

// Sizes at 96 dots per inch, scaled with the desktop's like the text.
constexpr int kPadding = 16;
constexpr int kLineGap = 2;
constexpr int kMinWidth = 220;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 26;
// A pixel at any dots per inch, as the button's outline is.
constexpr int kBorder = 1;
constexpr std::string_view kButtonLabel = "OK";

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

// What goes where in the box, inside its border.
struct Layout {
    std::vector<std::string> lines;
    int padding = 0;
    int lineHeight = 0;  // with the gap between lines
    int width = 0;
    int height = 0;
    Rect button;
};

// For text in font at dpi, on a monitor of that size.
Layout LayOut(const BoxText& font, std::string_view text, double dpi, const Rect& monitor) {
    const auto scaled = [dpi](int size) { return static_cast<int>(std::lround(size * dpi / 96)); };
    Layout layout;
    layout.padding = scaled(kPadding);
    layout.lineHeight = font.LineHeight() + scaled(kLineGap);
    // Wide and tall enough for its label in whatever font there is.
    layout.button.width = std::max(scaled(kButtonWidth), font.Width(kButtonLabel) + layout.padding);
    layout.button.height = std::max(scaled(kButtonHeight), font.LineHeight() + layout.padding / 2);
    layout.lines = SplitLines(text);
    int textWidth = 0;
    for (const std::string& line : layout.lines) {
        textWidth = std::max(textWidth, font.Width(line));
    }
    layout.width =
        std::min(std::max(textWidth + 2 * layout.padding, scaled(kMinWidth)), monitor.width - 2 * kBorder);
    const int textHeight = static_cast<int>(layout.lines.size()) * layout.lineHeight;
    layout.height =
        std::min(3 * layout.padding + textHeight + layout.button.height, monitor.height - 2 * kBorder);
    layout.button.x = (layout.width - layout.button.width) / 2;
    layout.button.y = layout.height - layout.padding - layout.button.height;
    return layout;
}

struct Colours {
    unsigned long foreground = 0;
    unsigned long background = 0;
    unsigned long buttonFace = 0;
};

unsigned long NamedColour(Display* display, int screen, const char* name, unsigned long fallback) {
    XColor exact;
    XColor colour;
    if (XAllocNamedColor(display, DefaultColormap(display, screen), name, &colour, &exact) != 0) {
        return colour.pixel;
    }
    return fallback;
}

Colours ChooseColours(Display* display) {
    const int screen = DefaultScreen(display);
    return {BlackPixel(display, screen), NamedColour(display, screen, "gray92", WhitePixel(display, screen)),
            NamedColour(display, screen, "gray80", WhitePixel(display, screen))};
}

void Paint(Display* display, Window box, GC gc, BoxText& font, const Layout& layout, const Colours& colours) {
    int baseline = layout.padding + font.Ascent();
    for (const std::string& line : layout.lines) {
        font.Draw(box, layout.padding, baseline, line, colours.foreground);
        baseline += layout.lineHeight;
    }
    const Rect& button = layout.button;
    XSetForeground(display, gc, colours.buttonFace);
    XFillRectangle(display, box, gc, button.x, button.y, static_cast<unsigned>(button.width),
                   static_cast<unsigned>(button.height));
    XSetForeground(display, gc, colours.foreground);
    XDrawRectangle(display, box, gc, button.x, button.y, static_cast<unsigned>(button.width - 1),
                   static_cast<unsigned>(button.height - 1));
    // The label's line centred in the button.
    const int labelX = button.x + (button.width - font.Width(kButtonLabel)) / 2;
    const int labelY = button.y + (button.height - font.LineHeight()) / 2 + font.Ascent();
    font.Draw(box, labelX, labelY, kButtonLabel, colours.foreground);
}

// What the window manager reads as the box maps: a dialog of the viewer's, of
// a fixed size, that takes the keys, may be closed, is kept above its owner
// and is modal for it.
void DescribeToWindowManager(Display* display, Window box, Window owner, const Layout& layout,
                             const std::string& title) {
    XStoreName(display, box, title.c_str());
    NameForDesktop(display, box, title);
    Atom dialogType = AtomOf(display, AtomName::NetWmWindowTypeDialog);
    XChangeProperty(display, box, AtomOf(display, AtomName::NetWmWindowType), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&dialogType), 1);
    XSetTransientForHint(display, box, owner);
    Atom modal = AtomOf(display, AtomName::NetWmStateModal);
    XChangeProperty(display, box, AtomOf(display, AtomName::NetWmState), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&modal), 1);
    XSizeHints* hints = XAllocSizeHints();
    if (hints != nullptr) {
        // No place: a window manager knows best where a dialog of its owner goes.
        hints->flags = PMinSize | PMaxSize;
        hints->min_width = hints->max_width = layout.width;
        hints->min_height = hints->max_height = layout.height;
    }
    // A window manager that keeps to the rules gives the focus only to a
    // window that asks for the keys.
    XWMHints input{};
    input.flags = InputHint;
    input.input = True;
    XSetWMProperties(display, box, nullptr, nullptr, nullptr, 0, hints, &input, ViewerClass());
    XFree(hints);
    Atom deleteWindow = AtomOf(display, AtomName::WmDeleteWindow);
    XSetWMProtocols(display, box, &deleteWindow, 1);
}

}  // namespace

void ShowErrorBox(Display* display, Window owner, std::string_view caption, std::string_view text) {
    // Another client may destroy the box, or its owner, at any moment, and a
    // request on either then fails. Once one is gone nothing the box asked
    // for matters: the program goes on to end as when the box is dismissed.
    const ErrorTrap trap(display);
    // Made first, so that it goes last: what draws on it goes before it (the
    // Render picture the text is drawn through would go with it on the server).
    OwnedWindow box(display);
    const double dpi = DesktopDpi(display);
    BoxText font(display, DefaultScreen(display), dpi);
    // An owner that is already gone leaves the whole screen to the box. The
    // box shares its owner's connection, so that what happens to the owner
    // while the box is up reaches the box.
    const std::optional<WindowFacts> facts = AskAbout(display, owner, false);
    const int number = DefaultScreen(display);
    const Rect screen{0, 0, DisplayWidth(display, number), DisplayHeight(display, number)};
    const Rect over = facts ? facts->inside : screen;
    const Rect monitor = facts ? facts->MonitorOf(over) : screen;
    const Layout layout = LayOut(font, text, dpi, monitor);
    const Colours colours = ChooseColours(display);

    const Rect place = PlacedOver(over, monitor, layout.width + 2 * kBorder, layout.height + 2 * kBorder);
    box.reset(XCreateSimpleWindow(display, DefaultRootWindow(display), place.x, place.y,
                                  static_cast<unsigned>(layout.width), static_cast<unsigned>(layout.height), kBorder,
                                  colours.foreground, colours.background));
    DescribeToWindowManager(display, box.get(), owner, layout, std::string(caption));
    XGCValues values{};
    values.foreground = colours.foreground;
    values.background = colours.background;
    const OwnedGc gc(XCreateGC(display, box.get(), GCForeground | GCBackground, &values), GcFreer{display});
    XSelectInput(display, box.get(),
                 ExposureMask | KeyPressMask | ButtonPressMask | ButtonReleaseMask | StructureNotifyMask);
    XMapRaised(display, box.get());

    BoxEvents(display, box.get(), owner, layout.button, [&] {
        Paint(display, box.get(), gc.get(), font, layout, colours);
    }).RunUntilDismissed();
}

}  // namespace desktop
