#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

// What the viewer asks of the desktop it runs on. Each platform has its own
// implementation, chosen by the build: linux/ (X11 under GLUT, on Xlib and
// XCB) and windows/ (Win32 under GLUT).
namespace desktop {

// Makes the process safe to start however it was started, before GLUT or
// anything else opens a file or a connection: standard streams closed by
// whoever started it, output nobody reads, a limited address space.
void PrepareProcess();

// glutInit(argc, argv), with the connection to the desktop made ready.
void InitGlut(int* argc, char** argv);

// The viewer's one window.
class ViewerWindow {
public:
    // glutCreateWindow(title), with what a desktop reads as it takes the
    // window on already there when it shows (the title, the viewer's class
    // and icon), and background (0xRRGGBB) wherever nothing is drawn yet.
    // From then on the program ends with status 0 when the window is closed,
    // or destroyed from outside. Its GL context is current.
    ViewerWindow(const char* title, std::uint32_t background);
    ~ViewerWindow();
    ViewerWindow(const ViewerWindow&) = delete;
    ViewerWindow& operator=(const ViewerWindow&) = delete;

    // Shows text in a modal box of the window titled caption, with an OK
    // button, and returns once the user dismisses it. The program is meant
    // to end then: the window's events meanwhile are the box's.
    void ShowError(std::string_view caption, std::string_view text) const;

    // Covers the monitor that holds the window; nothing where it does already.
    void EnterFullScreen();

    // Leaves full screen, if the window is in it, for a window of width x
    // height, its frame all on its monitor.
    void LeaveFullScreen(int width, int height);

    // Tells that the window is now width x height: GLUT's reshape.
    void Resized(int width, int height);

private:
    struct Platform;
    std::unique_ptr<Platform> platform_;
};

}  // namespace desktop
