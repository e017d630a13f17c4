// Run where memory is short (a memory cgroup, as a desktop session, a
// container or a small machine gives a program), the viewer refuses a
// picture that cannot fit as any allocation failure, before its pages are
// written, rather than being killed for it; a picture that fits opens.
#include "harness.h"  // first: it orders gtest and Xlib

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "image_record/linux/memory_sources.h"

namespace {

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
        const std::filesystem::path made = own->folder / ("image-border-test-" + std::to_string(getpid()));
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

    // A command that moves itself into the cgroup, then runs its arguments.
    std::string Launcher() const {
        return "sh -c 'echo $$ >\"$0\" && exec \"$@\"' '" + (folder / "cgroup.procs").string() + "'";
    }

    std::filesystem::path folder;
    std::string why;
};

TEST(ViewerE2eMemory, WhatCannotFitIsRefusedAndWhatFitsOpens) {
    const LimitedCgroup cgroup;
    if (!cgroup.why.empty()) {
        GTEST_SKIP() << "no memory cgroup to run the viewer in: " << cgroup.why;
    }
    // 64 bytes of run-length file: one end-of-bitmap code for 20000 x 20000
    // pixels, 1.2 GB as a picture.
    TestBitmap huge;
    huge.width = huge.height = 20000;
    huge.bitCount = 8;
    huge.compression = 1;
    huge.colorsUsed = 2;
    huge.palette = {kBlack, kWhite};
    huge.pixels = {0, 1};
    ASSERT_EQ(huge.Build().size(), 64u);
    // 150 MB: the picture fits, the white image beside it no longer does.
    TestBitmap large;
    large.width = 10000;
    large.height = 5000;
    large.pixels.assign(std::size_t{150'000'000}, 0x80);
    const Rows fits = Pattern(640, 480);
    const struct {
        const char* what;
        Bytes file;
        bool opens;
    } cases[] = {
        {"run-length 20000 x 20000", huge.Build(), false},
        {"10000 x 5000", large.Build(), false},
        {"640 x 480", Bmp(fits), true},
    };
    const XSession x;
    for (const auto& c : cases) {
        ViewerProcess viewer;
        viewer.Start(c.file, "", cgroup.Launcher() + " '" IMAGE_BORDER_PROGRAM "'");
        if (c.opens) {
            const Window window = x.WaitForWindow(kTitle).value_or(0);
            EXPECT_TRUE(WaitForFrame(x, window, Scene(650, 500, fits, Flat(640, 480, kWhite)))) << c.what;
            x.Type(window, {XK_Escape});
            EXPECT_EQ(viewer.WaitForExit(), 0) << c.what << ": " << viewer.Output("stderr");
        } else {
            const Window box = x.WaitForWindow(kErrorTitle).value_or(0);
            EXPECT_NE(box, 0u) << c.what << ": no box; exit status " << viewer.WaitForExit(0).value_or(-1);
            x.Type(box, {XK_Return});
            EXPECT_EQ(viewer.WaitForExit(), 1) << c.what;
            EXPECT_EQ(viewer.Output("stderr"), "Error: Out of memory.\n") << c.what;
        }
    }
}

}  // namespace
