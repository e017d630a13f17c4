// The real viewer in a real X window: what a user sees and what keys do.
#include "viewer_fixture.h"  // first: it orders gtest and Xlib

#include <GL/glx.h>
#include <X11/Xatom.h>

#include <algorithm>
#include <cstdlib>
#include <set>


namespace {

// What a window manager finds as it takes each window on, before it maps.
// The main window: the viewer's class, names and icon, GLUT's own hints, and
// a visual that is RGB, double-buffered and has a depth buffer. The box: a
// modal dialog of it, of a fixed size, that takes the keys and may be closed.
TEST_F(ViewerE2e, WindowsAreDescribedBeforeTheyMap) {
    if (x.WindowManagerRuns()) {
        GTEST_SKIP() << "the window manager takes the root's map requests";
    }
    XSelectInput(x.Raw(), x.Root(), SubstructureRedirectMask);
    const SpareDisplay traced;
    viewer.Start(std::nullopt, "", traced.Traced("'" IMAGE_BORDER_PROGRAM "'"));
    const auto mapRequested = [&] {
        XEvent request{};
        EXPECT_TRUE(Poll([&] { return XCheckTypedEvent(x.Raw(), MapRequest, &request); }));
        return request.xmaprequest.window;
    };
    const auto text = [](std::string_view bytes) { return std::vector<long>(bytes.begin(), bytes.end()); };
    const Window main = mapRequested();
    EXPECT_EQ(x.Property(main, "_NET_WM_NAME", "UTF8_STRING"), text(kTitle));
    EXPECT_FALSE(x.Property(main, "WM_NORMAL_HINTS", "WM_SIZE_HINTS").empty());
    EXPECT_FALSE(x.Property(main, "WM_HINTS", "WM_HINTS").empty());
    const std::vector<long> icon = x.Property(main, "_NET_WM_ICON", "CARDINAL");
    ASSERT_TRUE(icon.size() > 2 && icon.size() == 2 + static_cast<std::size_t>(icon[0] * icon[1]));
    // Edged with the window's blue, a picture and its mask, black and white.
    // (Xlib widens each item with its sign.)
    std::set<unsigned long> colours, edge;
    for (long i = 0, side = icon[0]; i < side * side; ++i) {
        const long u = i % side, v = i / side;
        (u % (side - 1) == 0 || v % (side - 1) == 0 ? edge : colours).insert(icon[2 + i] & 0xFFFFFFFF);
    }
    EXPECT_EQ(edge, std::set<unsigned long>{0xFF0000FF});
    EXPECT_TRUE(colours.contains(0xFF000000) && colours.contains(0xFFFFFFFF)) << colours.size() << " colours";
    XWindowAttributes attributes{};
    XGetWindowAttributes(x.Raw(), main, &attributes);
    XVisualInfo wanted{};
    wanted.visualid = XVisualIDFromVisual(attributes.visual);
    int count = 0, rgba = 0, doubleBuffered = 0, depthBits = 0;
    const std::unique_ptr<XVisualInfo, decltype(&XFree)> visual(
        XGetVisualInfo(x.Raw(), VisualIDMask, &wanted, &count), XFree);
    ASSERT_NE(visual, nullptr);
    glXGetConfig(x.Raw(), visual.get(), GLX_RGBA, &rgba);
    glXGetConfig(x.Raw(), visual.get(), GLX_DOUBLEBUFFER, &doubleBuffered);
    glXGetConfig(x.Raw(), visual.get(), GLX_DEPTH_SIZE, &depthBits);
    EXPECT_TRUE(rgba && doubleBuffered && depthBits > 0) << rgba << doubleBuffered << depthBits;
    XMapWindow(x.Raw(), main);

    const Window box = mapRequested();
    const std::vector<long> wmHints = x.Property(box, "WM_HINTS", "WM_HINTS");
    EXPECT_TRUE(wmHints.size() > 1 && (wmHints[0] & InputHint) != 0 && wmHints[1] == True) << "no keys asked for";
    const std::vector<long> sizes = x.Property(box, "WM_NORMAL_HINTS", "WM_SIZE_HINTS");
    const std::array<int, 4> size = x.Geometry(box).value();
    EXPECT_EQ(sizes, (std::vector<long>{PMinSize | PMaxSize, 0, 0, 0, 0, size[2], size[3], size[2], size[3], 0, 0, 0,
                                        0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(x.Property(box, "_NET_WM_NAME", "UTF8_STRING"), text(kErrorTitle));
    EXPECT_EQ(x.Property(box, "_NET_WM_WINDOW_TYPE", "ATOM"), std::vector{x.Intern("_NET_WM_WINDOW_TYPE_DIALOG")});
    EXPECT_EQ(x.Property(box, "_NET_WM_STATE", "ATOM"), std::vector{x.Intern("_NET_WM_STATE_MODAL")});
    EXPECT_EQ(x.Property(box, "WM_PROTOCOLS", "ATOM"), std::vector{x.Intern("WM_DELETE_WINDOW")});
    for (const Window window : {main, box}) {
        EXPECT_EQ(x.Property(window, "WM_CLASS", "STRING"), text({"image-border\0ImageBorder\0", 25}));
        const std::vector<long> pid = x.Property(window, "_NET_WM_PID", "CARDINAL");  // xtrace's child
        EXPECT_TRUE(pid.size() == 1 && std::filesystem::read_symlink("/proc/" + std::to_string(pid[0]) + "/exe") ==
                                           std::filesystem::canonical(IMAGE_BORDER_PROGRAM));
        EXPECT_FALSE(x.Property(window, "WM_CLIENT_MACHINE", "STRING").empty());
    }
    XMapWindow(x.Raw(), box);
    x.Type(x.WaitForWindow(kErrorTitle).value_or(0), {XK_Return});
    EXPECT_EQ(viewer.WaitForExit(), 1);  // xtrace's own lines on standard error too

    // Read at the request, a property set right after it would be there too:
    // the viewer's X log shows that none of the main window's changes once it
    // has asked to map.
    std::ifstream log(viewer.Path(".trace"));
    char window[32];
    std::snprintf(window, sizeof window, "window=0x%08lx", main);
    bool mapping = false;
    for (std::string line; std::getline(log, line);) {
        if (line.find(window) != std::string::npos) {
            EXPECT_FALSE(mapping && line.find("ChangeProperty") != std::string::npos) << line;
            mapping = mapping || line.find("MapWindow") != std::string::npos;
        }
    }
    EXPECT_TRUE(mapping) << "no request to map the window logged";
}

// Where no X server answers, GLUT says so and the program ends with 1.
TEST_F(ViewerE2e, NoServerIsSaidAndEndsWithOne) {
    viewer.Start(Bmp(Pattern(4, 4)), "", "env DISPLAY=:9999 '" IMAGE_BORDER_PROGRAM "'");
    EXPECT_EQ(viewer.WaitForExit(), 1);
    EXPECT_NE(viewer.Output("stderr").find("failed to open display ':9999'"), std::string::npos)
        << viewer.Output("stderr");
}

// Only what falls inside the window shows, one pixel per unit, cut where the
// window's size says; the white image, 6010 pixels to the right, not at all.
TEST_F(ViewerE2e, LargePictureIsCutAtTheWindowEdges) {
    const Rows picture = Pattern(6000, 4000);
    const Window window = Open(Bmp(picture));
    // Loading 72 MB takes a while under the sanitizers.
    ASSERT_TRUE(WaitForFrame(x, window, Windowed(650, 500, picture, {}), 60));
    x.Type(window, {XK_Up});
    const std::array<int, 4> screen = x.Geometry(x.Root()).value();
    EXPECT_TRUE(WaitForFrame(x, window, Scene(screen[2], screen[3], picture, {}), 30));
    x.Type(window, {XK_Down});
    EXPECT_TRUE(WaitForFrame(x, window, Windowed(700, 500, picture, {}), 30));
    // Closed through the window system, it ends the program as Esc does.
    x.Close(window);
    ExpectEnd(0);
}

// A desktop's life goes on around the viewer: window managers start after it,
// die, replace one another. Up and Down work as ever, in each case.
class ViewerE2eDesktopLife : public ViewerE2e {
protected:
    void UpAndDown(Window window) {
        // A window manager that has just started may still take the focus
        // for itself; it gives it to a window clicked once it is done.
        ASSERT_TRUE(!x.WindowManagerRuns() || Poll([&] {
            x.Click(window, 10, 10, 10, 10);
            return x.Focus() == window;
        }));
        UpAndDownFromTheCorner(window);
    }

    // Waits for a window manager other than the one named before to run, and
    // to have framed window: it announces itself first.
    void WaitForNewWindowManager(Window window) {
        const std::vector<long> before = x.Property(x.Root(), "_NET_SUPPORTING_WM_CHECK", "WINDOW");
        const Window frame = x.TopLevel(window);
        ASSERT_TRUE(Poll([&] {
            return x.WindowManagerRuns() && x.Property(x.Root(), "_NET_SUPPORTING_WM_CHECK", "WINDOW") != before &&
                   x.TopLevel(window) != frame && x.TopLevel(window) != window;
        }));
    }
};

// Killed, a window manager leaves its check window named on the root, and the
// window gone: a viewer started then runs as with none, and its box keeps the focus.
TEST_F(ViewerE2eDesktopLife, WindowManagerStartsLateIsReplacedAndDies) {
    const Window window = Open(Bmp(Pattern(64, 48)));
    Process openbox(Quietly("openbox"));
    WaitForNewWindowManager(window);
    UpAndDown(window);
    Process icewm(Quietly("icewm --replace"));
    WaitForNewWindowManager(window);
    UpAndDown(window);
    x.Type(window, {XK_Up});
    ASSERT_TRUE(Poll([&] { return x.Geometry(window) == x.Geometry(x.Root()); }));
    icewm.Kill(SIGKILL);
    ASSERT_TRUE(Poll([&] { return !x.WindowManagerRuns(); }));
    UpAndDown(window);
    x.Type(window, {XK_Escape});
    ExpectEnd(0);

    const Window box = Open(Bytes{}, kErrorTitle);
    ASSERT_NE(box, 0u);
    x.Type(x.WaitForWindow(kTitle).value_or(0), {});
    EXPECT_TRUE(x.HasFocus(box));
    x.Type(0, {XK_Return});
    ExpectEnd(1, kOpenFailed);
}

// One screen of two 1280 x 1024 monitors side by side.
class ViewerE2eTwoHeads : public ViewerE2e, public testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        if (GetParam() != std::string("none")) {
            manager.emplace(Quietly(GetParam()));
            ASSERT_TRUE(Poll([&] { return x.WindowManagerRuns(); }));
        }
    }

    std::optional<Process> manager;
};

// Up covers the monitor that holds the window, the second; again, it changes nothing.
TEST_P(ViewerE2eTwoHeads, FullScreenIsOneHead) {
    const Rows picture = Pattern(64, 48);
    const Window window = Open(Bmp(picture));
    XMoveWindow(x.Raw(), window, 1400, 100);
    ASSERT_TRUE(Poll([&] { return x.Geometry(window).value_or(std::array{0, 0, 0, 0})[0] >= 1280; }));
    x.Type(window, {XK_Up});
    ASSERT_TRUE(Poll([&] { return x.Geometry(window) == std::array{1280, 0, 1280, 1024}; }));
    XSelectInput(x.Raw(), window, StructureNotifyMask);
    x.Type(window, {XK_Up, XK_2});
    ASSERT_TRUE(WaitForFrame(x, window, Scene(1280, 1024, picture, DarkMask(picture))));
    XEvent event;
    EXPECT_FALSE(XCheckTypedWindowEvent(x.Raw(), window, ConfigureNotify, &event)) << "the window was reconfigured";
}

// The box lies on one monitor, whoever places it.
TEST_P(ViewerE2eTwoHeads, BoxIsOnOneHead) {
    const Window box = Open(std::nullopt, kErrorTitle);
    const std::array<int, 4> frame = x.Geometry(x.TopLevel(box)).value();
    EXPECT_TRUE(frame[0] >= 0 && (frame[0] + frame[2] <= 1280 || frame[0] >= 1280))
        << "the box spans " << frame[0] << " to " << frame[0] + frame[2];
}

INSTANTIATE_TEST_SUITE_P(Managers, ViewerE2eTwoHeads, testing::Values("none", "openbox"),
                         [](const auto& test) { return std::string(test.param); });

// What the box shows, found by its looks alone: the face is what its corner
// shows; the button is the framed rectangle in its lower half, whose top edge
// is the first longest run there of one other colour, and whose bottom edge
// is the last row below that repeats it; the text is the ink above the
// button. Rows are counted from the top, as clicks are.
struct BoxLooks {
    int buttonX = 0, buttonY = 0;  // the button's middle
    int inkHeight = 0;             // from the text's first row to its last
    int inkLeft = 0, inkRight = 0;  // the text's first and last columns
    int inkToButton = 0;            // rows between the text and the button
    std::uint32_t buttonFace = 0;   // inside its frame, at its left
    std::size_t inkColours = 0;
};

std::optional<BoxLooks> LookAt(const Rows& bottomUp) {
    const Rows rows(bottomUp.rbegin(), bottomUp.rend());
    if (rows.empty()) {
        return std::nullopt;
    }
    const std::uint32_t face = rows[0][0];
    const int height = static_cast<int>(rows.size()), width = static_cast<int>(rows[0].size());
    int top = -1, left = 0, right = 0;
    for (int y = height / 2; y < height; ++y) {
        for (int x0 = 0, x1 = 0; x0 < width; x0 = x1) {
            for (x1 = x0 + 1; x1 < width && rows[y][x1] == rows[y][x0]; ++x1) {
            }
            if (rows[y][x0] != face && x1 - x0 > right - left) {
                top = y, left = x0, right = x1;
            }
        }
    }
    if (right - left < 20) {
        return std::nullopt;
    }
    const auto edge = [&](int y) { return std::equal(rows[y].begin() + left, rows[y].begin() + right, rows[top].begin() + left); };
    int bottom = top;
    for (int y = top + 1; y < height; ++y) {
        bottom = edge(y) ? y : bottom;
    }
    BoxLooks looks{(left + right) / 2, (top + bottom) / 2};
    looks.buttonFace = rows[looks.buttonY][left + 2];
    std::set<std::uint32_t> ink;
    int first = top, last = -1;
    looks.inkLeft = width;
    for (int y = 0; y < top; ++y) {
        for (int x = 0; x < width; ++x) {
            if (rows[y][x] != face) {
                ink.insert(rows[y][x]);
                first = std::min(first, y), last = y;
                looks.inkLeft = std::min(looks.inkLeft, x), looks.inkRight = std::max(looks.inkRight, x);
            }
        }
    }
    looks.inkHeight = std::max(0, last - first + 1);
    looks.inkToButton = top - last - 1;
    looks.inkColours = ink.size();
    return looks;
}

class ViewerE2eErrorBox : public ViewerE2e {
protected:
    // What the box shows once it has drawn its text and button.
    BoxLooks Looks(Window box) const {
        std::optional<BoxLooks> looks;
        EXPECT_TRUE(Poll([&] { return (looks = LookAt(x.Grab(box).value_or(Rows{}))) && looks->inkHeight > 0; }))
            << "the box shows no button, or no text above it";
        return looks.value_or(BoxLooks{});
    }
};

// The box is a modal dialog of the main window, named as the viewer's, and
// the program waits for it; the main window shows blue meanwhile.
TEST_F(ViewerE2eErrorBox, IsAModalDialogOfTheMainWindow) {
    const Window box = Open(std::nullopt, kErrorTitle);
    ASSERT_NE(box, 0u);
    const Window main = x.WaitForWindow(kTitle).value_or(0);
    EXPECT_TRUE(x.HasFocus(box));

    // The main window shows blue, where the box was moved over it too: its
    // lower-left 650 x 500, all of it but where a tiling window manager
    // gives it more, and the box floats above it.
    FindTile(main);
    XMoveWindow(x.Raw(), box, 100, 100);
    EXPECT_TRUE(Poll([&] { return x.Geometry(x.TopLevel(box)).value_or(std::array{999, 0, 0, 0})[0] < 200; }));
    XMoveWindow(x.Raw(), box, 800, 600);
    EXPECT_TRUE(Poll([&, size = Sized(650, 500)] {
        Rows shown = x.Grab(main).value_or(Rows{});
        if (shown.size() != std::size_t(size.second) || shown[0].size() != std::size_t(size.first)) {
            return false;
        }
        shown.resize(500);
        for (auto& row : shown) {
            row.resize(650);
        }
        return shown == Flat(650, 500, 0x0000FF);
    }));

    // A click beside OK at its height, a press on OK let go beside it, and a
    // click on the main window, which then gets the focus, leave the box up,
    // above it, with the focus: the keys typed go to the box.
    const BoxLooks looks = Looks(box);
    x.Click(box, 2, looks.buttonY, 2, looks.buttonY);
    x.Click(box, looks.buttonX, looks.buttonY, 2, looks.buttonY);
    x.Click(main, 20, 20, 20, 20);
    x.Type(main, {});
    EXPECT_FALSE(viewer.WaitForExit(0.3));
    EXPECT_TRUE(x.StackedAbove(box, main));
    EXPECT_TRUE(x.HasFocus(box));
    x.Type(0, {XK_Return});
    ExpectEnd(1, kOpenFailed);
    EXPECT_EQ(viewer.Output("stdout"), "");
}

// The text is antialiased, and the box scales with Xft.dpi in the root's
// resources (96 when unset); where Xft finds no font, the core font shows the
// text, in black alone.
TEST_F(ViewerE2eErrorBox, TextIsAntialiasedScalesWithXftDpiAndFallsBack) {
    ASSERT_TRUE(x.Property(x.Root(), "RESOURCE_MANAGER", "STRING").empty()) << "the test's server has resources";
    const auto shown = [&] {
        const Window box = Open(std::nullopt, kErrorTitle);
        const std::array<int, 4> size = x.Geometry(box).value_or(std::array<int, 4>{});
        const std::pair looks{Looks(box), size[3]};
        // The box is as large as its text needs: the margins right of it and
        // below it are no narrower than the one left of it.
        EXPECT_GE(size[2] - 1 - looks.first.inkRight, looks.first.inkLeft - 2) << "box " << size[2] << " wide";
        EXPECT_GE(looks.first.inkToButton, looks.first.inkLeft - 2) << "box " << size[3] << " high";
        EXPECT_NE(looks.first.buttonFace, kBlack) << "the button's face hides its black label";
        x.Type(box, {XK_Return});
        ExpectEnd(1, kOpenFailed);
        return looks;
    };
    const auto [at96, height96] = shown();
    const std::string_view resources = "Xft.dpi:\t192 \n";  // a blank after the value is no part of it
    XChangeProperty(x.Raw(), x.Root(), XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(resources.data()), static_cast<int>(resources.size()));
    const auto [at192, height192] = shown();
    XDeleteProperty(x.Raw(), x.Root(), XA_RESOURCE_MANAGER);
    const TempDir folder;
    const std::string_view noFonts = "<fontconfig/>";
    setenv("FONTCONFIG_FILE", folder.Write("fonts.conf", Bytes(noFonts.begin(), noFonts.end())).c_str(), 1);
    const BoxLooks fallback = shown().first;
    unsetenv("FONTCONFIG_FILE");
    EXPECT_GT(at96.inkColours, 2u);
    EXPECT_NEAR(at192.inkHeight / double(at96.inkHeight), 2, 0.3) << at96.inkHeight << " " << at192.inkHeight;
    EXPECT_NEAR(height192 / double(height96), 2, 0.3) << height96 << " " << height192;
    EXPECT_EQ(fallback.inkColours, 1u);
}

// Each way the box can go ends the program with 1, its message on standard
// error. (Return is the dialog test's; each message is the refusals'.)
struct Dismissal {
    const char* name;
    void (*dismiss)(const XSession&, Window box, Window main, const BoxLooks&);
};

const Dismissal kDismissals[] = {
    {"Esc", [](const XSession& x, Window box, Window, const BoxLooks&) { x.Type(box, {XK_Escape}); }},
    {"Space", [](const XSession& x, Window box, Window, const BoxLooks&) { x.Type(box, {XK_space}); }},
    {"OkClicked", [](const XSession& x, Window box, Window, const BoxLooks& looks) {
         x.Click(box, looks.buttonX, looks.buttonY, looks.buttonX, looks.buttonY);
     }},
    {"BoxClosed", [](const XSession& x, Window box, Window, const BoxLooks&) { x.Close(box); }},
    {"BoxDestroyed", [](const XSession& x, Window box, Window, const BoxLooks&) { x.Destroy(box); }},
    {"MainClosed", [](const XSession& x, Window, Window main, const BoxLooks&) { x.Close(main); }},
    {"MainDestroyed", [](const XSession& x, Window, Window main, const BoxLooks&) { x.Destroy(main); }},
};

class ViewerE2eErrorBoxGoes : public ViewerE2eErrorBox, public testing::WithParamInterface<Dismissal> {};

TEST_P(ViewerE2eErrorBoxGoes, AndTheProgramExitsWithOne) {
    const Window box = Open(std::nullopt, kErrorTitle);
    ASSERT_NE(box, 0u);
    GetParam().dismiss(x, box, x.WaitForWindow(kTitle).value_or(0), Looks(box));
    ExpectEnd(1, kOpenFailed);
}

INSTANTIATE_TEST_SUITE_P(Dismissals, ViewerE2eErrorBoxGoes, testing::ValuesIn(kDismissals),
                         [](const auto& test) { return std::string(test.param.name); });

}  // namespace
