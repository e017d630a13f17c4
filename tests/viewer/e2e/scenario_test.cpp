// What a user sees and does, the same on every platform the program is built
// for: one list of scenarios, run against the Linux program beside each
// window manager and against the Windows programs under Wine.
#include "viewer_fixture.h"  // first: it orders gtest and Xlib

#include <filesystem>
#include <fstream>

namespace {

using ViewerScenario = ViewerE2e;

// 301 pixels wide: rows of 903 bytes shear unless unpacked with alignment 1.
// Keys are handled in order, so once a key's effect shows, every key before
// it has been handled too.
TEST_F(ViewerScenario, WindowKeysAndEsc) {
    const Rows picture = Pattern(301, 200), white = Flat(301, 200, kWhite), mask = DarkMask(picture);
    // The frame, title bar and all, at the screen's corner: a geometry on the
    // command line changes nothing, and after full screen it comes back there.
    const Window window = Open(Bmp(picture), kTitle, "-geometry 320x240+40+30");
    const auto frameAtCorner = [&] {
        const std::array<int, 4> frame = x.Geometry(x.TopLevel(window)).value();
        return underWine || (frame[0] == 0 && frame[1] == 0);
    };
    ASSERT_TRUE(WaitForFrame(x, window, Windowed(650, 500, picture, white)));
    EXPECT_TRUE(frameAtCorner());

    // Keys that do nothing, then Up.
    x.Type(window, {XK_1, XK_3, XK_0, XK_a, XK_A, XK_Q, XK_at, XK_space, XK_Return, XK_Tab, XK_BackSpace, XK_Delete,
                    XK_Left, XK_Right, XK_Home, XK_Page_Up, XK_F1, XK_Up});
    const std::array<int, 4> screen = x.Geometry(x.Root()).value();
    ASSERT_TRUE(WaitForFrame(x, window, Scene(screen[2], screen[3], picture, white)));
    EXPECT_TRUE(underWine || InFullScreenState(window));
    // Resized or moved by another client, it goes full screen again on Up. (A
    // window manager keeps other clients from moving a full-screen window.)
    for (const std::array<int, 4> moved :
         {std::array{0, 0, 400, 300}, {100, 50, 400, 300}, {1, 0, screen[2], screen[3]}}) {
        if (x.WindowManagerRuns() || underWine) {
            break;
        }
        XMoveResizeWindow(x.Raw(), window, moved[0], moved[1], moved[2], moved[3]);
        ASSERT_TRUE(Poll([&] { return x.Geometry(window) == moved; }));
        x.Type(window, {XK_Up});
        EXPECT_TRUE(Poll([&] { return x.Geometry(window) == screen; }));
    }
    ASSERT_TRUE(WaitForFrame(x, window, Scene(screen[2], screen[3], picture, white)));

    // Up again changes nothing, and Up right after Down wins over it.
    x.Type(window, {XK_Up, XK_Down, XK_Up, XK_2});
    EXPECT_TRUE(WaitForFrame(x, window, Scene(screen[2], screen[3], picture, mask)));
    // A second "2" changes nothing; Down, then Up and Down while full screen
    // is still being left, ends at 700 x 500, or back in the tile.
    x.Type(window, {XK_2, XK_Down, XK_Up, XK_Down});
    EXPECT_TRUE(WaitForFrame(x, window, Windowed(700, 500, picture, mask)));
    EXPECT_TRUE(frameAtCorner());
    EXPECT_FALSE(InFullScreenState(window));

    x.Type(window, {XK_Escape});
    ExpectEnd(0);
    EXPECT_EQ(Written("stdout"), "");
}

// Down leaves the 700 x 500 window whole on its monitor, frame and all,
// though it was partly off the screen before full screen.
TEST_F(ViewerScenario, DownKeepsTheWindowOnItsMonitor) {
    const Window window = Open(Bmp(Pattern(64, 48)));
    if (tile) {
        GTEST_SKIP() << "the window manager tiles the window where it wants";
    }
    UpAndDownFromTheCorner(window);
    x.Type(window, {XK_Escape});
    ExpectEnd(0);
}

// The picture that ships with the program: its outlines make the mask.
TEST_F(ViewerScenario, SampleShowsAndItsOutlinesMakeTheMask) {
    ImageClass sample;
    ASSERT_EQ(sample.Load(IMAGE_BORDER_SAMPLE), 1);
    const Rows picture = Read(sample), white = Flat(sample.SizeX(), sample.SizeY(), kWhite), mask = DarkMask(picture);
    std::ifstream file(IMAGE_BORDER_SAMPLE, std::ios::binary);
    const Window window = Open(Bytes(std::istreambuf_iterator<char>(file), {}));
    ASSERT_TRUE(WaitForFrame(x, window, Windowed(650, 500, picture, white)));
    x.Type(window, {XK_2});
    EXPECT_TRUE(WaitForFrame(x, window, Windowed(650, 500, picture, mask)));
    x.Type(window, {XK_Down});
    EXPECT_TRUE(WaitForFrame(x, window, Windowed(700, 500, picture, mask)));
    // Closed through the window system, or destroyed by another client (Wine's
    // windows are the Windows program's alone to destroy), the window ends the
    // program as Esc does.
    underWine ? x.Close(window) : x.Destroy(window);
    ExpectEnd(0);
}

// Each of the four messages in a box titled "Error", a dialog of the main
// window, and on standard error; Return, then status 1.
struct Refusal {
    const char* name;
    std::optional<Bytes> file;  // none: no "B.bmp" at all
    const char* line;
};

const Refusal kRefusals[] = {
    {"OpenFailed", std::nullopt, kOpenFailed.c_str()},
    {"UnknownFormat", Bmp(Pattern(8, 8), 99), "Error: Unknown DIB file format.\n"},
    {"ConversionError", [] { Bytes b = Bmp(Pattern(40, 30)); b.resize(b.size() - 100); return b; }(),
     "Error: Image file conversion error.\n"},
    // Larger than any picture is let be: more than 2 GB of rows.
    {"OutOfMemory", BlackRunLength(30000), "Error: Out of memory.\n"},
};

class ViewerScenarioRefusal : public ViewerE2e, public testing::WithParamInterface<Refusal> {};

TEST_P(ViewerScenarioRefusal, ShowsItsBoxThenEndsWithOne) {
    const Window box = Open(GetParam().file, kErrorTitle);
    ASSERT_NE(box, 0u);
    const Window main = x.WaitForWindow(kTitle).value_or(0);
    EXPECT_EQ(x.Property(box, "WM_TRANSIENT_FOR", "WINDOW"), std::vector<long>{static_cast<long>(main)});
    x.Type(box, {XK_Return});
    ExpectEnd(1, GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(Refusals, ViewerScenarioRefusal, testing::ValuesIn(kRefusals),
                         [](const auto& test) { return std::string(test.param.name); });

// Every file of the corpus, as the loader reads it on Linux: shown, marked,
// full screen and back, or refused with its message.
using ViewerScenarioCorpus = ViewerE2e;

TEST_F(ViewerScenarioCorpus, EveryFileAsTheLoaderReadsIt) {
    std::ifstream manifest(CORPUS_DIR "/expected.tsv");
    std::string line;
    ASSERT_TRUE(std::getline(manifest, line));  // the header
    const std::array<int, 4> screen = x.Geometry(x.Root()).value();
    for (int files = 0; std::getline(manifest, line); ++files) {
        SCOPED_TRACE(line);
        const std::string file = line.substr(0, line.find('\t')), path = CORPUS_DIR "/" + file;
        std::ifstream bytes(path, std::ios::binary);
        const bool opens = line.find("\tok\t") != std::string::npos;
        const Window shown = Open(Bytes(std::istreambuf_iterator<char>(bytes), {}), opens ? kTitle : kErrorTitle);
        if (!opens) {
            std::string message = line.substr(line.find("\trefused\t") + 9);
            message = message.substr(0, message.find("\\n"));  // the open failure's, which none here is, ends in one
            x.Type(shown, {XK_Return});
            ExpectEnd(1, "Error: " + message + "\n");
            continue;
        }
        ImageClass image;
        ASSERT_EQ(image.Load(path.c_str()), 1);
        const Rows picture = Read(image), white = Flat(image.SizeX(), image.SizeY(), kWhite);
        EXPECT_TRUE(WaitForFrame(x, shown, Windowed(650, 500, picture, white)));
        x.Type(shown, {XK_2, XK_Up});
        EXPECT_TRUE(WaitForFrame(x, shown, Scene(screen[2], screen[3], picture, DarkMask(picture))));
        x.Type(shown, {XK_Down});
        EXPECT_TRUE(WaitForFrame(x, shown, Windowed(700, 500, picture, DarkMask(picture))));
        x.Type(shown, {XK_Escape});
        ExpectEnd(0);
    }
}

// A 32-bit program: two images of 26000 x 26000 pixels, 2 GB each, cannot
// both be had in its address space, whatever the memory at hand. (Where the
// first fits, it is written whole before the second is refused.)
using ViewerScenario32Bit = ViewerE2e;

TEST_F(ViewerScenario32Bit, PicturesBeyondTheAddressSpaceAreOutOfMemory) {
    const Window box = Open(BlackRunLength(26000), kErrorTitle, "", 60);
    ASSERT_NE(box, 0u);
    x.Type(box, {XK_Return});
    ExpectEnd(1, "Error: Out of memory.\n");
}

}  // namespace
