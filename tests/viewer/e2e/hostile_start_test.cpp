// Started as launchers, service managers and limits may leave a program:
// with standard streams closed, where memory or address space is too short
// for the picture (a memory cgroup, as a desktop session, a container or a
// small machine gives a program; ulimit -v), with no room for another process
// or thread. The window shows and Esc ends with 0, or the box shows and
// Return ends with 1: a picture that cannot fit is refused as any allocation
// failure, before its pages are written, rather than the program being killed.
#include "harness.h"  // first: it orders gtest and Xlib

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "image_record/linux/memory_sources.h"

namespace {

namespace fs = std::filesystem;

// A memory cgroup of 320 MiB, made by the test under its own and removed
// when it goes, once the programs in it have ended. Where none can be made,
// why says why.
struct LimitedCgroup {
    LimitedCgroup() {
        const std::optional<MemoryCgroup> own = FindMemoryCgroup();
        if (!own) {
            why = "no cgroup hierarchy with the memory controller is mounted";
            return;
        }
        const fs::path made = own->folder / ("image-border-test-" + std::to_string(getpid()));
        if (mkdir(made.c_str(), 0755) != 0) {
            why = "cannot make " + made.string() + ": " + std::strerror(errno) + " (the test needs root)";
            return;
        }
        folder = made;
        if (!(std::ofstream(folder / (own->version1 ? "memory.limit_in_bytes" : "memory.max")) << (320 << 20))) {
            why = "cannot limit the memory of " + folder.string() + ": the memory controller is not enabled there";
        }
    }
    ~LimitedCgroup() {
        Poll([&] { return folder.empty() || rmdir(folder.c_str()) == 0 || errno == ENOENT; });
    }

    fs::path folder;
    std::string why;
};

enum class Picture {
    kNone,
    kSample,
    kSparse8000,      // 8000 x 8000 at 24 bits: 192 MB as a file and as each image
    kRunLength20000,  // 64 bytes, one end-of-bitmap code for 20000 x 20000 pixels, 1.2 GB as a picture
    kLarge10000,      // 10000 x 5000: 150 MB, the picture fits in the cgroup, the white image beside it no longer
};

struct HostileStart {
    const char* name;
    const char* shell;  // runs the program, "$0", as it is started; CGROUP: in a cgroup of 320 MiB
    Picture picture;
    const char* line;      // on standard error; none when the program shows its window
    bool limited = false;  // by a limit the sanitizers cannot run under
    bool asRoot = false;
};

// Mesa's driver loaded, 600000 KiB leave room for the sample, not for 8000 x 8000.
constexpr const char* kAddressSpaceLimit = "ulimit -v 600000 && exec \"$0\"";
constexpr const char* kOutOfMemory = "Error: Out of memory.\n";

const HostileStart kStarts[] = {
    {"StandardErrorClosed", "exec \"$0\" 2>&-", Picture::kNone, ""},
    {"AllStreamsClosed", "exec \"$0\" <&- >&- 2>&-", Picture::kSample, nullptr},
    {"PictureBeyondTheAddressSpace", kAddressSpaceLimit, Picture::kSparse8000, kOutOfMemory, true},
    {"PictureInTheAddressSpace", kAddressSpaceLimit, Picture::kSample, nullptr, true},
    {"RunLengthBeyondTheCgroup", "CGROUP", Picture::kRunLength20000, kOutOfMemory, false, true},
    {"WhiteImageBeyondTheCgroup", "CGROUP", Picture::kLarge10000, kOutOfMemory, false, true},
    {"PictureInTheCgroup", "CGROUP", Picture::kSample, nullptr, false, true},
    // Mesa's renderer cannot start its threads there: as any GL program, the
    // viewer then needs it to draw on the program's own.
    {"NoRoomForAnotherProcess",
     "LP_NUM_THREADS=0 exec setpriv --reuid=nobody --regid=nogroup --clear-groups prlimit --nproc=1 \"$0\"",
     Picture::kSample, nullptr, true, true},
};

Bytes Of(Picture picture) {
    TestBitmap bitmap;
    switch (picture) {
        case Picture::kSparse8000:
            bitmap.width = bitmap.height = 8000;  // its pixels come from resize_file
            break;
        case Picture::kRunLength20000:
            return BlackRunLength(20000);
        case Picture::kLarge10000:
            bitmap.width = 10000;
            bitmap.height = 5000;
            bitmap.pixels.assign(std::size_t{150'000'000}, 0x80);
            break;
        default:
            break;
    }
    return bitmap.Build();
}

class ViewerE2eHostileStart : public testing::TestWithParam<HostileStart> {};

TEST_P(ViewerE2eHostileStart, ShowsTheWindowOrTheBox) {
    const HostileStart& start = GetParam();
#if defined(__SANITIZE_ADDRESS__)
    if (start.limited) {
        GTEST_SKIP() << "the sanitizers need more address space, and a thread of their own to check for leaks";
    }
#endif
    if (start.asRoot && geteuid() != 0) {
        GTEST_SKIP() << "only root can limit a cgroup or start the viewer as another user";
    }
    std::string shell = start.shell;
    std::optional<LimitedCgroup> cgroup;
    if (shell == "CGROUP") {
        if (!cgroup.emplace().why.empty()) {
            GTEST_SKIP() << "no memory cgroup to run the viewer in: " << cgroup->why;
        }
        shell = "echo $$ >" + (cgroup->folder / "cgroup.procs").string() + " && exec \"$0\"";
    }
    const XSession x;
    ViewerProcess viewer;
    ImageClass sample;
    ASSERT_EQ(sample.Load(IMAGE_BORDER_SAMPLE), 1);
    if (start.picture == Picture::kSample) {
        fs::copy_file(IMAGE_BORDER_SAMPLE, viewer.Path("B.bmp"));
    } else if (start.picture != Picture::kNone) {
        viewer.WriteFile("B.bmp", Of(start.picture));
    }
    if (start.picture == Picture::kSparse8000) {
        fs::resize_file(viewer.Path("B.bmp"), 54 + std::uintmax_t{8000} * 8000 * 3);
    }
    // Another user reads the picture in the test's folder.
    fs::permissions(fs::path(viewer.Path("B.bmp")).parent_path(), fs::perms::others_exec, fs::perm_options::add);
    viewer.Start(std::nullopt, "", "sh -c '" + shell + "' '" IMAGE_BORDER_PROGRAM "'");
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
