#pragma once

// x_session.h first: it orders gtest and Xlib.
#include "x_session.h"

#include <fcntl.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "child_process.h"
#include "temp_dir.h"
#include "test_picture.h"

// The real viewer, in a fresh temporary folder that takes its standard output
// and error. Killed if still running, and then the folder removed, when it goes.
class ViewerProcess : public Process {
public:
    ~ViewerProcess() { Kill(SIGKILL); }

    void WriteFile(const std::string& name, const Bytes& bytes) const { folder_.Write(name, bytes); }

    // Writes bitmap, if any, as "B.bmp" first; arguments, and program, the
    // command that starts it, go through the shell.
    void Start(const std::optional<Bytes>& bitmap = std::nullopt, const std::string& arguments = "",
               const std::string& program = "'" IMAGE_BORDER_PROGRAM "'") {
        if (bitmap) {
            WriteFile("B.bmp", *bitmap);
        }
        Process::Start("cd '" + folder_.path.string() + "' && exec " + program + " " + arguments +
                       " </dev/null >.stdout 2>.stderr");
    }

    // The path of name in its folder.
    std::string Path(const std::string& name) const { return folder_ / name; }

    // What it wrote to "stdout" or "stderr".
    std::string Output(const std::string& stream) const { return folder_.Read("." + stream); }

private:
    TempDir folder_;
};

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

inline const std::string kTitle = "Image Border";
inline const std::string kErrorTitle = "Error";
inline constexpr int kGap = 10;

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
