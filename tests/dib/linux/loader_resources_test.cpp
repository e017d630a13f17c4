// The loader through real files on Linux: wide names as they are shown, and
// what a load leaves behind. dibdump's tests cover files that cannot be opened.

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "address_space.h"
#include "dib_test_support.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

// Linux opens and shows a UTF-16 name as UTF-8. Lone surrogates: the lowest
// high one, and the highest low one at the very end.
TEST(WideNames, ShowTheirUtf8) {
    TempDir dir;
    const std::u16string missing = dir.path.u16string() + u"/\u00E9\xD800.bmp\xDFFF";
    testing::internal::CaptureStderr();  // no message sink is installed
    EXPECT_EQ(LoadDibImageWide(missing.c_str()), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Error: Failed to open DIB file " + dir.path.string() + "/\xC3\xA9\xEF\xBF\xBD.bmp\xEF\xBF\xBD.\n");
}

// The leak checker sees neither mappings nor descriptors: count them around
// loads that map a file, whether it is taken or refused.
TEST(Loads, LeaveNoMappingOrDescriptorBehind) {
    TempDir dir;
    Bytes bitmap = Bmp({{0x102030}});
    const std::string good = dir.Write("good.bmp", bitmap);
    bitmap.pop_back();
    const std::string cut = dir.Write("cut.bmp", bitmap);
    const auto mappings = [] {
        std::ifstream maps("/proc/self/maps");
        return std::count(std::istreambuf_iterator<char>(maps), {}, '\n');
    };
    const auto descriptors = [] { return std::distance(fs::directory_iterator("/proc/self/fd"), {}); };
    // With standard input closed, each file opened gets descriptor 0.
    const int input = dup(0);
    close(0);
    const auto before = std::pair(mappings(), descriptors());
    for (int i = 0; i < 20; ++i) {
        EXPECT_NE(ReadDibFile(good).image, nullptr);
        EXPECT_EQ(ReadDibFile(cut).image, nullptr);
    }
    EXPECT_LT(mappings(), before.first + 5);
    EXPECT_EQ(descriptors(), before.second);
    dup2(input, 0);
    close(input);
}

// A file that cannot be mapped for want of address space is no file that
// cannot be opened: memory ran out.
TEST(LoadsDeathTest, MappingWithNoAddressSpaceLeftIsOutOfMemory) {
    TempDir dir;
    const std::string file = dir.Write("large.bmp", {});
    fs::resize_file(file, 64 << 20);
    EXPECT_EXIT(
        {
            LimitAddressSpace(16 << 20);
            std::exit(ReadDibFile(file).error == DibError::kOutOfMemory ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

}  // namespace
