#include <GL/freeglut.h>

#include <optional>

#include "desktop/linux/error_box.h"
#include "desktop/linux/full_screen.h"
#include "desktop/linux/process_end.h"
#include "desktop/linux/window_close.h"
#include "desktop/linux/window_properties.h"
#include "desktop/viewer_desktop.h"

namespace desktop {

struct ViewerWindow::Platform {
    DesktopWindow window;
    // GLUT's idea of full screen was fixed when it started, and the window
    // manager may since have come, gone or changed: the window goes full
    // screen and back the desktop's way instead, where GLUT told which
    // window is its.
    std::optional<FullScreen> fullScreen;
};

ViewerWindow::ViewerWindow(const char* title, std::uint32_t background) : platform_(std::make_unique<Platform>()) {
    platform_->window = CreateDesktopWindow(title, background);
    CloseWhenDestroyed(platform_->window);
    ArrangeTheEnd();
    if (platform_->window.display != nullptr) {
        platform_->fullScreen.emplace(platform_->window.display, platform_->window.window);
    }
}

ViewerWindow::~ViewerWindow() = default;

void ViewerWindow::ShowError(std::string_view caption, std::string_view text) const {
    if (platform_->window.display != nullptr) {
        ShowErrorBox(platform_->window.display, platform_->window.window, caption, text);
    }
}

void ViewerWindow::EnterFullScreen() {
    if (platform_->fullScreen) {
        platform_->fullScreen->Enter();
    } else {
        glutFullScreen();
    }
}

void ViewerWindow::LeaveFullScreen(int width, int height) {
    if (platform_->fullScreen) {
        platform_->fullScreen->Leave(width, height);
    } else {
        glutReshapeWindow(width, height);
    }
}

void ViewerWindow::Resized(int width, int height) {
    if (platform_->fullScreen) {
        platform_->fullScreen->Resized(width, height);
    }
}

}  // namespace desktop
