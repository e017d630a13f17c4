// A SIGBUS that is not about a mapped bitmap is left alone: it goes where it
// would have gone without the loader's watch.

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>

#include "dib/mapped_file.h"
#include "dib_test_support.h"
#include "temp_dir.h"

namespace {

// 1000 x 1000 grey pixels: 3 MB, many pages, decoded into huge pages.
Bytes GreyPicture() { return Bmp(Flat(1000, 1000, 0x555555)); }

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
