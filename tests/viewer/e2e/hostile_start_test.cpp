// Started as launchers, service managers and limits may leave a program:
// with standard streams closed, in an address space too small for the
// picture, with no room for another process or thread. The window shows and
// Esc ends with 0, or the box shows and Return ends with 1.
#include "harness.h"  // first: it orders gtest and Xlib

#include <filesystem>
#include <fstream>

namespace {

enum class Picture { kNone, kSample, kHuge };

struct HostileStart {
    const char* name;
    const char* shell;  // runs the program, "$0", as it is started
    Picture picture;
    const char* line;   // on standard error; none when the program shows its window
    bool limited = false;  // by a limit the sanitizers cannot run under
    bool asRoot = false;
};

// 8000 x 8000 at 24 bits: 192 MB as a file and as each image, more than the
// limit leaves once Mesa's driver is loaded; the sample fits in it.
constexpr const char* kAddressSpaceLimit = "ulimit -v 600000 && exec \"$0\"";

const HostileStart kStarts[] = {
    {"StandardErrorClosed", "exec \"$0\" 2>&-", Picture::kNone, ""},
    {"AllStreamsClosed", "exec \"$0\" <&- >&- 2>&-", Picture::kSample, nullptr},
    {"PictureBeyondTheAddressSpace", kAddressSpaceLimit, Picture::kHuge, "Error: Out of memory.\n", true},
    {"PictureInTheAddressSpace", kAddressSpaceLimit, Picture::kSample, nullptr, true},
    // Mesa's renderer cannot start its threads there: as any GL program, the
    // viewer then needs it to draw on the program's own.
    {"NoRoomForAnotherProcess",
     "LP_NUM_THREADS=0 exec setpriv --reuid=nobody --regid=nogroup --clear-groups prlimit --nproc=1 \"$0\"",
     Picture::kSample, nullptr, true, true},
};

class ViewerE2eHostileStart : public testing::TestWithParam<HostileStart> {};

TEST_P(ViewerE2eHostileStart, ShowsTheWindowOrTheBox) {
    const HostileStart& start = GetParam();
#if defined(__SANITIZE_ADDRESS__)
    if (start.limited) {
        GTEST_SKIP() << "the sanitizers need more address space, and a thread of their own to check for leaks";
    }
#endif
    if (start.asRoot && geteuid() != 0) {
        GTEST_SKIP() << "only root can start the viewer as another user";
    }
    const XSession x;
    ViewerProcess viewer;
    ImageClass sample;
    ASSERT_EQ(sample.Load(IMAGE_BORDER_SAMPLE), 1);
    if (start.picture == Picture::kSample) {
        std::filesystem::copy_file(IMAGE_BORDER_SAMPLE, viewer.Path("B.bmp"));
    } else if (start.picture == Picture::kHuge) {
        TestBitmap huge;
        huge.width = huge.height = 8000;
        viewer.WriteFile("B.bmp", huge.Build());
        std::filesystem::resize_file(viewer.Path("B.bmp"), 54 + std::uintmax_t{8000} * 8000 * 3);
    }
    // Another user reads the picture in the test's folder.
    std::filesystem::permissions(std::filesystem::path(viewer.Path("B.bmp")).parent_path(),
                                 std::filesystem::perms::others_exec, std::filesystem::perm_options::add);
    viewer.Start(std::nullopt, "", "sh -c '" + std::string(start.shell) + "' '" IMAGE_BORDER_PROGRAM "'");
    const Window shown = x.WaitForWindow(start.line == nullptr ? kTitle : kErrorTitle).value_or(0);
    ASSERT_NE(shown, 0u) << "exit status " << viewer.WaitForExit(0).value_or(-1) << ", " << viewer.Output("stderr");
    if (start.line == nullptr) {
        EXPECT_TRUE(WaitForFrame(x, shown, Scene(650, 500, Read(sample), Flat(sample.SizeX(), sample.SizeY(), kWhite))));
    }
    x.Type(shown, {static_cast<KeySym>(start.line == nullptr ? XK_Escape : XK_Return)});
    EXPECT_EQ(viewer.WaitForExit(), start.line == nullptr ? 0 : 1);
    EXPECT_EQ(viewer.Output("stderr"), start.line == nullptr ? "" : start.line);
}

INSTANTIATE_TEST_SUITE_P(Starts, ViewerE2eHostileStart, testing::ValuesIn(kStarts),
                         [](const auto& test) { return std::string(test.param.name); });

}  // namespace
