// The real viewer in a real X window: what a user sees and what keys do.
#include <gtest/gtest.h>
#include <unistd.h>

#include "x_session.h"  // before other X headers: it orders gtest and Xlib

#include <X11/keysym.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bmp_writer.h"
#include "image/image_class.h"
#include "viewer_process.h"

namespace {

const std::string kTitle = "Image Border";
const std::string kErrorTitle = "Error";
constexpr int kWidth = 650;
constexpr int kHeight = 500;
constexpr int kGap = 10;

std::string AsString(const std::vector<std::uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

// The white image after "2": black exactly where the picture has a dark colour.
TestPicture MaskOf(const TestPicture& picture) {
    TestPicture mask = MakeFlatPicture(picture.width, picture.height, kWhite);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            if (std::ranges::find(kDarkColours, picture.At(x, y)) != std::end(kDarkColours)) {
                mask.Set(x, y, kBlack);
            }
        }
    }
    return mask;
}

class ViewerE2e : public ::testing::Test {
protected:
    void TearDown() override {
        viewer.Kill();
        // The next test looks its windows up by title: these must be gone first.
        EXPECT_TRUE(x.WaitForNoWindow(kTitle));
        EXPECT_TRUE(x.WaitForNoWindow(kErrorTitle));
    }

    // Starts the viewer on picture and returns its window once it is up.
    Window Open(const TestPicture& picture, const std::vector<std::string>& arguments = {}) {
        source = picture;
        white = MakeFlatPicture(picture.width, picture.height, kWhite);
        viewer.WriteFile("B.bmp", AsString(EncodeBmp(picture)));
        viewer.Start(arguments);
        const auto window = x.WaitForWindow(kTitle);
        if (!window) {
            ADD_FAILURE() << "no window titled \"" << kTitle << "\"; stderr: " << viewer.Stderr();
            return 0;
        }
        return *window;
    }

    Frame Scene(int width, int height, const TestPicture& right) const {
        return ExpectedFrame(width, height, {{&source, 0, 0}, {&right, source.width + kGap, 0}});
    }

    XSession x;
    ViewerProcess viewer;
    TestPicture source;
    TestPicture white;
};

// --- Start-up: the window and what it shows ---

// A geometry on the command line changes nothing: the program sets its own.
TEST_F(ViewerE2e, OpensTitledWindowAtTopLeftShowingPictureAndWhiteCopy) {
    const Window window = Open(MakePatternPicture(300, 200), {"-geometry", "320x240+40+30"});
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(x.WaitForSize(window, kWidth, kHeight));
    const auto geometry = x.Geometry(window);
    ASSERT_TRUE(geometry);
    EXPECT_EQ(geometry->x, 0);
    EXPECT_EQ(geometry->y, 0);
    // The white image's lower-left corner at (310, 0), blue everywhere else.
    EXPECT_TRUE(x.WaitForFrame(window, Scene(kWidth, kHeight, white)));
    EXPECT_TRUE(viewer.Running());
}

struct PictureSize {
    int width;
    int height;
};

class ViewerE2eSizes : public ViewerE2e, public ::testing::WithParamInterface<PictureSize> {};

// Rows are packed without padding: odd widths must not shear; pictures that do
// not fit are cut at the window's edges, and an image whose corner lies past
// the right edge is not drawn at all.
TEST_P(ViewerE2eSizes, ShowsEveryPixelWhereItBelongs) {
    const Window window = Open(MakePatternPicture(GetParam().width, GetParam().height));
    ASSERT_NE(window, 0u);
    EXPECT_TRUE(x.WaitForFrame(window, Scene(kWidth, kHeight, white)));
}

INSTANTIATE_TEST_SUITE_P(Pictures, ViewerE2eSizes,
                         ::testing::Values(PictureSize{1, 1}, PictureSize{5, 3}, PictureSize{301, 220},
                                           PictureSize{319, 500}, PictureSize{400, 120}, PictureSize{640, 50},
                                           PictureSize{700, 100}, PictureSize{202, 640}),
                         [](const auto& info) {
                             return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });

// The picture that ships with the program: its outlines make the mask.
TEST_F(ViewerE2e, SamplePictureShowsAndItsOutlinesMakeTheMask) {
    const TestPicture sample = DecodeBmp24(ReadFile(IMAGE_BORDER_SAMPLE));
    EXPECT_NE(sample.width % 4, 0) << "the sample should exercise padded rows";
    EXPECT_LE(2 * sample.width + kGap, kWidth);
    EXPECT_LE(sample.height, kHeight);
    ImageClass pixels(sample.width, sample.height);
    TestPicture mask = MakeFlatPicture(sample.width, sample.height, kWhite);
    int dark = 0;
    for (int y = 0; y < sample.height; ++y) {
        for (int xx = 0; xx < sample.width; ++xx) {
            const std::uint32_t c = sample.At(xx, y);
            pixels.SetPixel(xx, y, static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                            static_cast<std::uint8_t>(c));
            if (pixels.GetPointIntensity(xx, y) < 5) {
                mask.Set(xx, y, kBlack);
                ++dark;
            }
        }
    }
    // Outlines, not a speck: at least 2% of the picture is dark.
    EXPECT_GT(dark * 50, sample.width * sample.height);

    const Window window = Open(sample);
    ASSERT_NE(window, 0u);
    EXPECT_TRUE(x.WaitForFrame(window, Scene(kWidth, kHeight, white)));
    x.PressKey(window, XK_2);
    EXPECT_TRUE(x.WaitForFrame(window, Scene(kWidth, kHeight, mask)));
}

// --- Keys ---

TEST_F(ViewerE2e, TwoPaintsTheDarkPixelsBlackAndAgainChangesNothing) {
    const Window window = Open(MakePatternPicture(233, 181));
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(x.WaitForFrame(window, Scene(kWidth, kHeight, white)));
    const TestPicture mask = MaskOf(source);
    x.PressKey(window, XK_2);
    EXPECT_TRUE(x.WaitForFrame(window, Scene(kWidth, kHeight, mask)));
    x.PressKey(window, XK_2);
    // Down only marks when the second "2" has been handled.
    x.PressKey(window, XK_Down);
    EXPECT_TRUE(x.WaitForFrame(window, Scene(700, 500, mask)));
}

TEST_F(ViewerE2e, AllBlackPictureGivesAllBlackMask) {
    const Window window = Open(MakeFlatPicture(50, 40, kBlack));
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(x.WaitForFrame(window, Scene(kWidth, kHeight, white)));
    x.PressKey(window, XK_2);
    EXPECT_TRUE(x.WaitForFrame(window, Scene(kWidth, kHeight, source)));
}

TEST_F(ViewerE2e, OtherKeysChangeNothing) {
    const Window window = Open(MakePatternPicture(120, 90));
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(x.WaitForFrame(window, Scene(kWidth, kHeight, white)));
    for (const KeySym key : {XK_1, XK_3, XK_0, XK_9, XK_a, XK_A, XK_q, XK_Q, XK_at, XK_space, XK_Return, XK_Tab,
                             XK_BackSpace, XK_Delete, XK_Left, XK_Right, XK_Home, XK_Page_Up, XK_F1, XK_F2}) {
        x.PressKey(window, key);
    }
    // Keys are handled in order: once Down has resized the window, all the
    // keys before it have been handled too.
    x.PressKey(window, XK_Down);
    EXPECT_TRUE(x.WaitForFrame(window, Scene(700, 500, white)));
    x.PressKey(window, XK_2);
    EXPECT_TRUE(x.WaitForFrame(window, Scene(700, 500, MaskOf(source))));
}

TEST_F(ViewerE2e, UpGoesFullScreenWithImagesAtLowerLeftAndDownReturnsToWindow) {
    const Window window = Open(MakePatternPicture(211, 150));
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(x.WaitForFrame(window, Scene(kWidth, kHeight, white)));
    const int screenWidth = x.ScreenWidth();
    const int screenHeight = x.ScreenHeight();

    x.PressKey(window, XK_Up);
    ASSERT_TRUE(x.WaitForFrame(window, Scene(screenWidth, screenHeight, white)));
    auto geometry = x.Geometry(window);
    ASSERT_TRUE(geometry);
    EXPECT_EQ(geometry->x, 0);
    EXPECT_EQ(geometry->y, 0);

    // Up again, then "2": the mask shows on a window still covering the screen.
    x.PressKey(window, XK_Up);
    x.PressKey(window, XK_2);
    EXPECT_TRUE(x.WaitForFrame(window, Scene(screenWidth, screenHeight, MaskOf(source))));

    x.PressKey(window, XK_Down);
    ASSERT_TRUE(x.WaitForFrame(window, Scene(700, 500, MaskOf(source))));
    geometry = x.Geometry(window);
    ASSERT_TRUE(geometry);
    EXPECT_EQ(geometry->width, 700);
    EXPECT_EQ(geometry->height, 500);

    // And back to full screen once more.
    x.PressKey(window, XK_Up);
    EXPECT_TRUE(x.WaitForFrame(window, Scene(screenWidth, screenHeight, MaskOf(source))));
}

// Up right after Down wins: the window stays on the whole screen.
TEST_F(ViewerE2e, UpRightAfterDownKeepsFullScreen) {
    const Window window = Open(MakePatternPicture(97, 61));
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(x.WaitForFrame(window, Scene(kWidth, kHeight, white)));
    x.PressKey(window, XK_Up);
    ASSERT_TRUE(x.WaitForFrame(window, Scene(x.ScreenWidth(), x.ScreenHeight(), white)));
    x.PressKey(window, XK_Down);
    x.PressKey(window, XK_Up);
    x.PressKey(window, XK_2);
    EXPECT_TRUE(x.WaitForFrame(window, Scene(x.ScreenWidth(), x.ScreenHeight(), MaskOf(source))));
    // Down twice from full screen ends at 700 x 500 all the same.
    x.PressKey(window, XK_Down);
    x.PressKey(window, XK_Down);
    EXPECT_TRUE(x.WaitForFrame(window, Scene(700, 500, MaskOf(source))));
}

TEST_F(ViewerE2e, EscExitsWithZero) {
    const Window window = Open(MakePatternPicture(64, 64));
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(x.WaitForFrame(window, Scene(kWidth, kHeight, white)));
    x.PressKey(window, XK_Escape);
    EXPECT_EQ(viewer.WaitForExit(), 0) << viewer.Stderr();
    EXPECT_EQ(viewer.Stdout(), "");
    EXPECT_EQ(viewer.Stderr(), "");
    EXPECT_TRUE(x.WaitForNoWindow(kTitle));
}

// --- A picture that cannot be loaded ---

enum class Dismiss { kReturn, kEscape, kSpace, kClickOk, kClose };

class ViewerE2eErrors : public ViewerE2e {
protected:
    // Starts the viewer on whatever "B.bmp" the test left in its folder, checks
    // the box and the line on standard error, and dismisses the box.
    void ExpectRefused(const std::string& expectedLine, Dismiss how) {
        viewer.Start();
        const auto box = x.WaitForWindow(kErrorTitle);
        ASSERT_TRUE(box) << "no \"Error\" window; stderr: " << viewer.Stderr();
        // The box is modal: the program waits for it.
        EXPECT_TRUE(viewer.Running());
        EXPECT_EQ(viewer.Stderr(), expectedLine);
        ExpectTextShown(*box);

        const auto geometry = x.Geometry(*box);
        ASSERT_TRUE(geometry);
        switch (how) {
            case Dismiss::kReturn:
                x.PressKey(*box, XK_Return);
                break;
            case Dismiss::kEscape:
                x.PressKey(*box, XK_Escape);
                break;
            case Dismiss::kSpace:
                x.PressKey(*box, XK_space);
                break;
            case Dismiss::kClickOk:
                // The OK button sits centred near the bottom edge.
                x.Click(*box, geometry->width / 2, geometry->height - 29);
                break;
            case Dismiss::kClose:
                Close(*box);
                break;
        }
        EXPECT_EQ(viewer.WaitForExit(), 1) << viewer.Stderr();
        EXPECT_TRUE(x.WaitForNoWindow(kErrorTitle));
        EXPECT_EQ(viewer.Stdout(), "");
    }

    // Black text on a light face: the upper part of the box, above the
    // button, must hold dark pixels once it has painted.
    void ExpectTextShown(Window box) {
        for (int attempt = 0; attempt < 250; ++attempt) {
            const auto frame = x.Grab(box);
            if (frame) {
                const int textRows = frame->height / 2;
                int dark = 0;
                for (int y = frame->height - textRows; y < frame->height; ++y) {
                    for (int xx = 0; xx < frame->width; ++xx) {
                        dark += frame->At(xx, y) == kBlack ? 1 : 0;
                    }
                }
                if (dark > 20) {
                    return;
                }
            }
            usleep(20000);
        }
        ADD_FAILURE() << "the box shows no text";
    }

    // What a window manager sends when the user closes the window.
    void Close(Window box) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = box;
        event.xclient.message_type = XInternAtom(x.Raw(), "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(x.Raw(), "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(x.Raw(), box, False, NoEventMask, &event);
        XSync(x.Raw(), False);
    }
};

TEST_F(ViewerE2eErrors, MissingFileIsReportedAndReturnDismisses) {
    ExpectRefused("Error: Failed to open DIB file B.bmp.\n", Dismiss::kReturn);
}

TEST_F(ViewerE2eErrors, EmptyFileIsReportedAndEscDismisses) {
    viewer.WriteFile("B.bmp", "");
    ExpectRefused("Error: Failed to open DIB file B.bmp.\n", Dismiss::kEscape);
}

TEST_F(ViewerE2eErrors, UnknownHeaderIsReportedAndSpaceDismisses) {
    std::vector<std::uint8_t> bytes = EncodeBmp(MakePatternPicture(8, 8));
    bytes[14] = 108;  // a header size the program does not read
    viewer.WriteFile("B.bmp", AsString(bytes));
    ExpectRefused("Error: Unknown DIB file format.\n", Dismiss::kSpace);
}

TEST_F(ViewerE2eErrors, TruncatedPixelsAreReportedAndOkDismisses) {
    std::vector<std::uint8_t> bytes = EncodeBmp(MakePatternPicture(40, 30));
    bytes.resize(bytes.size() - 100);
    viewer.WriteFile("B.bmp", AsString(bytes));
    ExpectRefused("Error: Image file conversion error.\n", Dismiss::kClickOk);
}

TEST_F(ViewerE2eErrors, ClosingTheBoxDismissesIt) {
    std::vector<std::uint8_t> bytes = EncodeBmp(MakePatternPicture(8, 8));
    bytes[14] = 99;
    viewer.WriteFile("B.bmp", AsString(bytes));
    ExpectRefused("Error: Unknown DIB file format.\n", Dismiss::kClose);
}

}  // namespace
