// Another process may cut a file short while the loader has it mapped. The
// lost part then reads as zeros instead of raising SIGBUS, the loader refuses
// the file, and a SIGBUS that is not about a mapped bitmap is left alone.

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>

#include "dib/mapped_file.h"
#include "dib_test_support.h"
#include "temp_dir.h"

namespace {

// 1000 x 100 grey pixels: 300 KB, many pages.
Bytes GreyPicture() {
    TestBitmap bitmap;
    bitmap.width = 1000;
    bitmap.height = 100;
    bitmap.pixels.assign(std::size_t{3000} * 100, 0x55);
    return bitmap.Build();
}

// Two files mapped at once: the one cut short reads as zeros past its new end
// and knows it shrank; the other is untouched.
TEST(ShrinkingFile, ReadsAsZerosAndIsNoticed) {
    const TempDir dir;
    const std::optional<MappedFile> cut = MappedFile::Open(dir.Write("cut.bmp", GreyPicture()));
    const std::optional<MappedFile> whole = MappedFile::Open(dir.Write("whole.bmp", GreyPicture()));
    ASSERT_TRUE(cut && whole);
    ASSERT_EQ(truncate((dir / "cut.bmp").c_str(), 100), 0);
    const DibDecodeResult result = DecodeDibImage(cut->Bytes());
    EXPECT_TRUE(cut->Shrank());
    ASSERT_NE(result.image, nullptr);  // the header was still there; the rows read as black
    EXPECT_EQ(PixelAt(*result.image, 999, 99), (Rgb{0, 0, 0}));
    EXPECT_EQ(PixelAt(*DecodeDibImage(whole->Bytes()).image, 999, 99), (Rgb{0x55, 0x55, 0x55}));
    EXPECT_FALSE(whole->Shrank());
}

// With a bitmap mapped and watched, maps a file of our own and reads past its
// new end, or, sent is set, is sent a SIGBUS that no fault repeats.
void BusErrorNotAboutTheBitmap(bool sent) {
    const TempDir dir;  // the process dies here: nothing is left behind once both files are open
    const std::optional<MappedFile> watched = MappedFile::Open(dir.Write("watched.bmp", GreyPicture()));
    const int fd = open(dir.Write("unwatched", Bytes(65536, 1)).c_str(), O_RDWR);
    std::filesystem::remove_all(dir.path);
    const auto* bytes = static_cast<const volatile std::uint8_t*>(mmap(nullptr, 65536, PROT_READ, MAP_SHARED, fd, 0));
    if (watched && sent) {
        raise(SIGBUS);
    } else if (watched && ftruncate(fd, 0) == 0) {
        std::exit(bytes[60000]);
    }
    std::exit(0);
}

void ExitFortyTwo(int) { _exit(42); }

TEST(ShrinkingFileDeathTest, AnotherBusErrorGoesWhereItWouldHaveGone) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process: no handler installed yet
    for (const bool sent : {false, true}) {
        EXPECT_EXIT(
            {
                signal(SIGBUS, SIG_DFL);
                BusErrorNotAboutTheBitmap(sent);
            },
            testing::KilledBySignal(SIGBUS), "");
    }
    EXPECT_EXIT(
        {
            signal(SIGBUS, ExitFortyTwo);
            BusErrorNotAboutTheBitmap(false);
        },
        testing::ExitedWithCode(42), "");
}

}  // namespace
