#pragma once

// gtest before Xlib: Xlib's macros (None, Bool) break gtest's headers.
#include <gtest/gtest.h>

#include <fcntl.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "test_picture.h"
#include "viewer_process.h"
#include "x_session.h"

// A display number no server has, held by a lock file as servers hold theirs:
// xtrace offers it to the program it logs.
struct SpareDisplay {
    SpareDisplay() {
        for (number = std::atoi(std::strchr(std::getenv("DISPLAY"), ':') + 1) + 1;; ++number) {
            const int lock = open(Lock().c_str(), O_WRONLY | O_CREAT | O_EXCL, 0444);
            if (lock >= 0) {
                dprintf(lock, "%10d\n", static_cast<int>(getpid()));
                close(lock);
                std::filesystem::remove(Socket());  // xtrace leaves its socket behind
                return;
            }
        }
    }
    ~SpareDisplay() {
        std::filesystem::remove(Socket());
        std::filesystem::remove(Lock());
    }
    // A shell command that runs program (a shell word) with its X traffic logged to ".trace".
    std::string Traced(const std::string& program) const {
        return "xtrace -d \"$DISPLAY\" -D :" + std::to_string(number) + " -o .trace " + program;
    }
    std::string Lock() const { return "/tmp/.X" + std::to_string(number) + "-lock"; }
    std::string Socket() const { return "/tmp/.X11-unix/X" + std::to_string(number); }
    int number = 0;
};

// Polls until the window shows exactly expected, its size included: a window
// maps before its first frame and repaints some time after a key.
inline testing::AssertionResult WaitForFrame(const XSession& x, Window window, const Rows& expected,
                                             double timeoutSeconds = 5.0) {
    if (Poll([&] { return x.Grab(window) == expected; }, timeoutSeconds)) {
        return testing::AssertionSuccess();
    }
    const auto place = x.Geometry(window).value_or(std::array<int, 4>{});
    return testing::AssertionFailure() << "expected " << expected[0].size() << "x" << expected.size() << ", window "
                                       << place[2] << "x" << place[3] << " showing something else";
}

inline const std::string kTitle = "Image Border";
inline const std::string kErrorTitle = "Error";
inline const std::string kOpenFailed = "Error: Failed to open DIB file B.bmp.\n";
inline constexpr int kGap = 10;

// A picture of side x side black pixels, as a few bytes of run-length code:
// the end of the bitmap at once.
inline Bytes BlackRunLength(int side) {
    TestBitmap bitmap;
    bitmap.width = bitmap.height = side;
    bitmap.bitCount = 8;
    bitmap.compression = 1;
    bitmap.colorsUsed = 2;
    bitmap.palette = {kBlack, kWhite};
    bitmap.pixels = {0, 1};
    return bitmap.Build();
}

// Blue, with the picture at (0, 0) and right at (picture width + 10, 0), each
// cut at the window's edges. The GL drops a raster position outside the view
// volume, and with it an image whose corner lies past the right edge.
inline Rows Scene(int width, int height, const Rows& picture, const Rows& right) {
    Rows frame = Flat(width, height, 0x0000FF);
    const int rightX = static_cast<int>(picture[0].size()) + kGap;
    for (const auto& [image, left] : {std::pair{&picture, 0}, std::pair{&right, rightX}}) {
        for (int y = 0; left <= width && y < std::min<int>(height, image->size()); ++y) {
            std::copy_n((*image)[y].begin(), std::min<int>(width - left, (*image)[y].size()), frame[y].begin() + left);
        }
    }
    return frame;
}
