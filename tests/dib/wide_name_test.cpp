// A UTF-16 name opens the file it names, whatever its characters.
#include <filesystem>
#include <fstream>

#include "dib_test_support.h"
#include "temp_dir.h"

namespace {

TEST(WideNames, OpenTheFileTheyName) {
    const TempDir dir;
    const Bytes bytes = Bmp({{0x102030}});
    std::ofstream(dir.path / std::filesystem::path(u8"caf\u00E9-\U0001F3A8.bmp"), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    const std::u16string wide = (dir.path / u"caf\u00E9-\U0001F3A8.bmp").u16string();
    const auto image = LoadDibImageWide(wide.c_str());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(Unpack(*image), Rows{{0x102030}});
}

}  // namespace
