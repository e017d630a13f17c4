#include <windows.h>
#include <GL/freeglut.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

#include "desktop/viewer_desktop.h"

namespace desktop {

// Windows hands out handles, not the lowest free number: a standard stream
// closed by whoever started the program cannot be taken by a file opened
// later, and a write to it fails alone. Nor does a thread reserve a heap of
// its own out of the address space.
void PrepareProcess() {}

void InitGlut(int* argc, char** argv) {
    // DISPLAY names an X server, set for X programs (Wine copies it from its
    // host); GLUT on Windows would take it for a display device of its own,
    // fail to open it and warn. The program shows on the desktop it runs on.
    _putenv("DISPLAY=");
    glutInit(argc, argv);
}

struct ViewerWindow::Platform {
    HWND window = nullptr;
    // GLUT carries out full screen, and a new size, in one piece of work
    // after all the messages it has read, where two opposite asks of one
    // batch cancel out. So keys only say what they want, and a timer that
    // GLUT runs after the messages and before that work asks GLUT once: the
    // last key of the batch decides, as if each had been carried out in turn.
    std::optional<std::pair<int, int>> windowed;  // the size wanted; none: full screen
    bool pending = false;                          // the timer is set
    std::optional<std::pair<int, int>> awaited;    // the size the last leave waits for

    void Want(std::optional<std::pair<int, int>> size) {
        windowed = size;
        if (!std::exchange(pending, true)) {
            glutTimerFunc(0, Apply, 0);
        }
    }

    static void Apply(int);
    static inline Platform* viewer = nullptr;  // the one window: GLUT's timers carry no pointer

    // Moves the window, frame and all, where some of it lies off its
    // monitor's work area, to lie whole on it.
    void KeepFrameOnMonitor() const {
        RECT frame{};
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        if (GetWindowRect(window, &frame) == 0 ||
            GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor) == 0) {
            return;
        }
        const RECT& work = monitor.rcWork;
        const auto within = [](LONG start, LONG length, LONG low, LONG high) {
            return std::max(low, std::min(start, high - length));
        };
        const LONG x = within(frame.left, frame.right - frame.left, work.left, work.right);
        const LONG y = within(frame.top, frame.bottom - frame.top, work.top, work.bottom);
        if (x != frame.left || y != frame.top) {
            SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
};

void ViewerWindow::Platform::Apply(int) {
    Platform& self = *viewer;
    self.pending = false;
    if (!self.windowed) {
        self.awaited.reset();
        glutFullScreen();
        return;
    }
    glutLeaveFullScreen();
    glutReshapeWindow(self.windowed->first, self.windowed->second);
    self.awaited = self.windowed;
}

ViewerWindow::ViewerWindow(const char* title, std::uint32_t background) : platform_(std::make_unique<Platform>()) {
    // Closing the window ends the program with status 0: GLUT's own way.
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_EXIT);
    glutCreateWindow(title);
    Platform::viewer = platform_.get();
    platform_->window = WindowFromDC(wglGetCurrentDC());
    // What shows of the window before the first frame, and while the box is up.
    const HBRUSH brush = CreateSolidBrush(RGB(background >> 16, background >> 8 & 0xFF, background & 0xFF));
    if (platform_->window != nullptr && brush != nullptr) {
        SetClassLongPtrA(platform_->window, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(brush));
    }
}

ViewerWindow::~ViewerWindow() = default;

// Owned by the window that has the focus, the main one: modal for it.
void ViewerWindow::ShowError(std::string_view caption, std::string_view text) const {
    MessageBoxA(GetFocus(), std::string(text).c_str(), std::string(caption).c_str(), MB_OK);
}

void ViewerWindow::EnterFullScreen() {
    platform_->Want(std::nullopt);
}

void ViewerWindow::LeaveFullScreen(int width, int height) {
    platform_->Want(std::pair{width, height});
}

void ViewerWindow::Resized(int width, int height) {
    if (platform_->awaited == std::pair{width, height}) {
        platform_->awaited.reset();
        platform_->KeepFrameOnMonitor();
    }
}

}  // namespace desktop
