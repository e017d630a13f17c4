// A file cut short while the loader has it mapped (by another process on
// Linux; on Windows a page that can no longer be read, which under Wine a
// program of the host can cause): the lost part reads as zeros instead of
// ending the program, the loader refuses the file, and another file mapped
// beside it loads whole.
#include "cut_short.h"
#include "dib/mapped_file.h"
#include "dib_test_support.h"
#include "temp_dir.h"

namespace {

TEST(ShrinkingFile, IsRefusedAndTheOtherLoads) {
    const TempDir dir;
    const Bytes grey = Bmp(Flat(1000, 1000, 0x555555));  // 3 MB, many pages, decoded into large ones
    const std::optional<MappedFile> cut = MappedFile::Open(dir.Write("cut.bmp", grey));
    const std::optional<MappedFile> whole = MappedFile::Open(dir.Write("whole.bmp", grey));
    ASSERT_TRUE(cut && whole);
    if (!CutShort(dir.path / "cut.bmp", 100)) {
        GTEST_SKIP() << "nothing here can cut a mapped file short";
    }
    const DibDecodeResult refused = DecodeMappedFile(*cut);
    EXPECT_EQ(refused.error, DibError::kConversionError);
    EXPECT_EQ(refused.reason, "the file was cut short while it was being read (it had 3000054 bytes when opened)");
    const DibDecodeResult loaded = DecodeMappedFile(*whole);
    ASSERT_NE(loaded.image, nullptr);
    EXPECT_EQ(Unpack(*loaded.image), Flat(1000, 1000, 0x555555));
}

}  // namespace
