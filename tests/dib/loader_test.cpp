// The loader through real files: one message for every refusal, none on
// success, in the order of checks users see.

#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "dib_test_support.h"

namespace {

namespace fs = std::filesystem;

// A fresh folder, removed with everything in it when the test ends.
struct TempDir {
    fs::path path = [] {
        std::string pattern = (fs::temp_directory_path() / "dib-test-XXXXXX").string();
        return fs::path(mkdtemp(pattern.data()));
    }();
    ~TempDir() { fs::remove_all(path); }
    std::string Write(const std::string& name, const Bytes& bytes) const {
        std::ofstream(path / name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return (path / name).string();
    }
};

// The one message a refused file shows, or "" when it loads silently.
std::string LoadMessage(const std::string& path) {
    MessageRecorder recorder;
    const auto image = LoadDibImage(path.c_str());
    if (image) {
        EXPECT_TRUE(recorder.messages.empty()) << path;
        return "";
    }
    if (recorder.messages.size() != 1) {
        ADD_FAILURE() << recorder.messages.size() << " messages for " << path;
        return "(not one message)";
    }
    EXPECT_EQ(recorder.messages[0].caption, "Error");
    return recorder.messages[0].text;
}

// The message names the file however long its name; the reason is the system's.
TEST(OpenFailure, NamesTheFileAndSaysWhy) {
    TempDir dir;
    const std::string fifo = (dir.path / "fifo.bmp").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<std::string, std::string> cases[] = {
        {(dir.path / "B.bmp").string(), "No such file or directory"},
        {dir.path.string(), "Is a directory"},
        {dir.Write("empty.bmp", {}), "empty file"},
        {fifo, "not a regular file"},
        {(dir.path / std::string(300, 'n')).string(), "File name too long"},
    };
    for (const auto& [path, reason] : cases) {
        EXPECT_EQ(LoadMessage(path), "Failed to open DIB file " + path + ".\n");
        const DibDecodeResult result = ReadDibFile(path);
        EXPECT_EQ(result.error, DibError::kOpenFailed) << path;
        EXPECT_EQ(result.reason, reason) << path;
    }
}

TEST(WideNames, OpenTheUtf8FileAndShowItsName) {
    TempDir dir;
    TestBitmap bitmap;
    bitmap.pixels = StoreRows(24, {{0x102030}});
    dir.Write("caf\xC3\xA9-\xF0\x9F\x8E\xA8.bmp", bitmap.Build());
    const std::u16string wide = dir.path.u16string() + u"/caf\u00E9-\U0001F3A8.bmp";
    MessageRecorder recorder;
    const auto image = LoadDibImageWide(wide.c_str());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(PixelAt(*image, 0, 0), (Rgb{0x10, 0x20, 0x30}));

    const std::u16string missing = dir.path.u16string() + u"/\u00E9\xD800.bmp";  // a lone surrogate
    EXPECT_EQ(LoadDibImageWide(missing.c_str()), nullptr);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text,
              "Failed to open DIB file " + dir.path.string() + "/\xC3\xA9\xEF\xBF\xBD.bmp.\n");
}

// With no sink installed, each message is one line on standard error.
TEST(DefaultSink, WritesOneErrorLine) {
    const MessageSink previous = SetMessageSink({});
    ::testing::internal::CaptureStderr();
    ShowMessage("Error", "Failed to open DIB file B.bmp.\n");
    ShowMessage("Error", "Out of memory.");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Error: Failed to open DIB file B.bmp.\nError: Out of memory.\n");
    SetMessageSink(previous);
}

// The leak checker does not see mappings: count them around loads that map
// a file, whether it is taken or refused.
TEST(Loads, LeaveNoMappingBehind) {
    TempDir dir;
    TestBitmap bitmap;
    bitmap.pixels = StoreRows(24, {{0x102030}});
    const std::string good = dir.Write("good.bmp", bitmap.Build());
    bitmap.pixels.pop_back();
    const std::string cut = dir.Write("cut.bmp", bitmap.Build());
    const auto mappings = [] {
        std::ifstream maps("/proc/self/maps");
        return std::count(std::istreambuf_iterator<char>(maps), {}, '\n');
    };
    const auto before = mappings();
    for (int i = 0; i < 20; ++i) {
        EXPECT_NE(ReadDibFile(good).image, nullptr);
        EXPECT_EQ(ReadDibFile(cut).image, nullptr);
    }
    EXPECT_LT(mappings(), before + 5);
}

// Valid files of every accepted kind, small enough to damage byte by byte.
std::vector<TestBitmap> OneOfEachKind() {
    std::vector<TestBitmap> kinds;
    const std::vector<Rgb> palette = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}};
    for (const std::uint16_t bits : {1, 4, 8, 16, 24, 32}) {
        TestBitmap bitmap;
        bitmap.bitCount = bits;
        bitmap.width = 5;
        bitmap.height = 2;
        if (bits <= 8) {
            bitmap.palette = palette;
            bitmap.colorsUsed = 4;
        }
        bitmap.pixels = StoreRows(bits, {{0, 1, 2, 3, 1}, {3, 2, 1, 0, 1}});
        kinds.push_back(bitmap);
    }
    TestBitmap fields = kinds[3];
    fields.compression = 3;
    fields.masks = {0xF800, 0x07E0, 0x001F};
    kinds.push_back(fields);
    TestBitmap core = kinds[2];
    core.headerSize = 12;
    core.palette.resize(256);
    kinds.push_back(core);
    TestBitmap rle8 = kinds[2];
    rle8.compression = 1;
    rle8.pixels = {2, 1, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 1, 3, 0, 1};
    kinds.push_back(rle8);
    TestBitmap rle4 = kinds[1];
    rle4.compression = 2;
    rle4.pixels = {3, 0x12, 0, 2, 1, 5, 0x30, 0, 0, 0, 0, 3, 0x12, 0x30, 0, 1};
    kinds.push_back(rle4);
    TestBitmap bare = kinds[4];
    bare.fileHeader = false;
    kinds.push_back(bare);
    return kinds;
}

TEST(DamagedFiles, EveryCutAndEveryFlippedHeaderByteDecodesOrIsRefusedOnce) {
    // LoadMessage checks the count: no message on success, exactly one on refusal.
    TempDir dir;
    for (const TestBitmap& kind : OneOfEachKind()) {
        const Bytes whole = kind.Build();
        ASSERT_EQ(LoadMessage(dir.Write("whole.bmp", whole)), "");
        for (std::size_t length = 1; length < whole.size(); ++length) {
            LoadMessage(dir.Write("cut.bmp", Bytes(whole.begin(), whole.begin() + length)));
        }
        const std::size_t headerEnd = std::min<std::size_t>(whole.size(), 14 + 40 + 12 + 16);
        for (std::size_t i = 0; i < headerEnd; ++i) {
            for (const std::uint8_t flip : {0x01, 0x80, 0xFF}) {
                Bytes damaged = whole;
                damaged[i] ^= flip;
                LoadMessage(dir.Write("flip.bmp", damaged));
            }
        }
    }
}

}  // namespace
