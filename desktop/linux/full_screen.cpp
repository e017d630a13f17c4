#include "desktop/linux/full_screen.h"

#include <X11/Xatom.h>

#include <algorithm>
#include <vector>

#include "desktop/linux/error_trap.h"
#include "desktop/linux/window_manager.h"

namespace desktop {
namespace {

constexpr long kRemove = 0;
constexpr long kAdd = 1;
constexpr long kFromApplication = 1;

Atom FullScreenState(Display* display) {
    return AtomOf(display, AtomName::NetWmStateFullscreen);
}

void AskForState(Display* display, Window window, long action) {
    AskWindowManager(display, window, AtomName::NetWmState,
                     {action, static_cast<long>(FullScreenState(display)), 0, kFromApplication});
}

}  // namespace

void FullScreen::Enter() {
    awaited_.reset();
    // The frame is the window manager's, and may go at any moment.
    const ErrorTrap trap(display_);
    const std::optional<WindowFacts> facts = AskAbout(display_, window_, true);
    if (!facts) {
        return;
    }
    const bool managed = facts->manager.Supports(FullScreenState(display_));
    const Rect monitor = facts->MonitorOf(facts->inside);
    // Until a window manager carries out a Leave, the window still looks full screen.
    if (entered_ && facts->inside == monitor && (facts->InState(FullScreenState(display_)) || !managed)) {
        return;
    }
    if (managed) {
        AskForState(display_, window_, kAdd);
    } else {
        if (!before_) {
            if (const std::optional<Rect> frame = Frame(display_, window_, *facts)) {
                before_ = Place{*frame, facts->inside};
            }
        }
        XMoveResizeWindow(display_, window_, monitor.x, monitor.y, static_cast<unsigned>(monitor.width),
                          static_cast<unsigned>(monitor.height));
        SetOwnState(*facts, true);
    }
    entered_ = true;
}

void FullScreen::Leave(int width, int height) {
    const ErrorTrap trap(display_);
    const std::optional<WindowFacts> facts = AskAbout(display_, window_, true);
    if (!facts) {
        return;
    }
    const Atom fullScreen = FullScreenState(display_);
    if (facts->manager.Supports(fullScreen)) {
        // Whether the window manager has yet carried out an earlier Enter
        // cannot be told; removing a state the window lacks changes nothing.
        AskForState(display_, window_, kRemove);
        XResizeWindow(display_, window_, static_cast<unsigned>(width), static_cast<unsigned>(height));
        if (!facts->InState(fullScreen) && facts->inside.width == width && facts->inside.height == height) {
            KeepFrameOnScreen(*facts);  // no change of size will tell when
        } else {
            awaited_.emplace(width, height);
        }
    } else {
        // The window goes where it was, as near as it can while all on its monitor.
        // The frame grows or shrinks with the window it holds, as it was then.
        std::optional<Place> was = before_;
        if (!was) {
            if (const std::optional<Rect> frame = Frame(display_, window_, *facts)) {
                was = Place{*frame, facts->inside};
            }
        }
        if (!was) {
            return;
        }
        Rect frame = was->frame;
        frame.width += width - was->inside.width;
        frame.height += height - was->inside.height;
        const Rect kept = KeptOn(facts->MonitorOf(frame), frame);
        XMoveResizeWindow(display_, window_, kept.x, kept.y, static_cast<unsigned>(width),
                          static_cast<unsigned>(height));
        SetOwnState(*facts, false);
        awaited_.reset();
    }
    entered_ = false;
    before_.reset();
}

void FullScreen::Resized(int width, int height) {
    if (awaited_ != std::pair(width, height)) {
        return;
    }
    awaited_.reset();
    const ErrorTrap trap(display_);
    if (const std::optional<WindowFacts> facts = AskAbout(display_, window_, false)) {
        KeepFrameOnScreen(*facts);
    }
}

void FullScreen::KeepFrameOnScreen(const WindowFacts& facts) {
    const std::optional<Rect> frame = Frame(display_, window_, facts);
    if (!frame || facts.InState(FullScreenState(display_))) {
        return;
    }
    const Rect kept = KeptOn(facts.MonitorOf(*frame), *frame);
    if (kept != *frame) {
        // The window's gravity is north-west: a window manager puts the
        // frame's corner where the window is asked to go.
        XMoveWindow(display_, window_, kept.x, kept.y);
    }
}

// Where no window manager keeps the window's state, the window does: one that
// starts later reads it, and must not find a full screen left long ago by one
// that died.
void FullScreen::SetOwnState(const WindowFacts& facts, bool fullScreen) {
    const Atom fullScreenState = FullScreenState(display_);
    std::vector<long> state(facts.state.begin(), facts.state.end());
    std::erase(state, static_cast<long>(fullScreenState));
    if (fullScreen) {
        state.push_back(static_cast<long>(fullScreenState));
    }
    XChangeProperty(display_, window_, AtomOf(display_, AtomName::NetWmState), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(state.data()), static_cast<int>(state.size()));
}

}  // namespace desktop
