// make-icon FILE: writes the viewer's icon as a Windows icon file, for the
// program's resources (viewer/windows/image-border.ico is made by it).

#include <cstdint>
#include <cstdio>
#include <vector>

#include "desktop/viewer_icon.h"

namespace {

void Put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> 8 * i));
    }
}

// One 32-bit image: the icon directory, its one entry, then the image as a
// bitmap of twice its height (colour rows, then the transparency mask's),
// rows bottom first.
std::vector<std::uint8_t> IconFile(const std::vector<std::uint32_t>& argb, int side) {
    const auto size = static_cast<std::uint32_t>(side);
    const std::uint32_t maskRow = (size + 31) / 32 * 4;
    const std::uint32_t imageBytes = 40 + size * size * 4 + maskRow * size;
    std::vector<std::uint8_t> out;
    Put(out, 0, 2), Put(out, 1, 2), Put(out, 1, 2);                    // reserved, icon, one image
    Put(out, size, 1), Put(out, size, 1), Put(out, 0, 1), Put(out, 0, 1);  // width, height, no palette
    Put(out, 1, 2), Put(out, 32, 2), Put(out, imageBytes, 4), Put(out, 22, 4);
    Put(out, 40, 4), Put(out, size, 4), Put(out, 2 * size, 4), Put(out, 1, 2), Put(out, 32, 2);
    for (int field = 0; field < 6; ++field) {
        Put(out, 0, 4);
    }
    for (int y = side - 1; y >= 0; --y) {
        for (int x = 0; x < side; ++x) {
            Put(out, argb[static_cast<std::size_t>(y * side + x)], 4);  // blue, green, red, alpha
        }
    }
    out.resize(out.size() + maskRow * size, 0);  // every pixel opaque: the alpha says so
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: make-icon FILE\n", stderr);
        return 2;
    }
    const std::vector<std::uint8_t> file = IconFile(desktop::ViewerIcon(), desktop::kViewerIconSize);
    std::FILE* out = std::fopen(argv[1], "wb");
    const bool written = out != nullptr && std::fwrite(file.data(), 1, file.size(), out) == file.size();
    if (out == nullptr || std::fclose(out) != 0 || !written) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
