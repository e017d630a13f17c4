// The loader through real files: one message for every refusal, none on
// success, in the order of checks users see.

#include <stdlib.h>

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

TEST(OpenFailure, NamesTheFileWhateverItIs) {
    TempDir dir;
    const std::string missing = (dir.path / "B.bmp").string();
    EXPECT_EQ(LoadMessage(missing), "Failed to open DIB file " + missing + ".\n");
    EXPECT_EQ(LoadMessage(dir.path.string()), "Failed to open DIB file " + dir.path.string() + ".\n");
    const std::string empty = dir.Write("empty.bmp", {});
    EXPECT_EQ(LoadMessage(empty), "Failed to open DIB file " + empty + ".\n");
    const std::string longName = (dir.path / std::string(300, 'n')).string();  // longer than a name can be
    EXPECT_EQ(LoadMessage(longName), "Failed to open DIB file " + longName + ".\n");
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

TEST(DefaultSink, WritesOneErrorLine) {
    ::testing::internal::CaptureStderr();
    WriteMessageLine("Error", "Failed to open DIB file B.bmp.\n");
    WriteMessageLine("Error", "Out of memory.");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Error: Failed to open DIB file B.bmp.\nError: Out of memory.\n");
}

TEST(Refusals, EachFieldProblemGivesItsMessage) {
    TempDir dir;
    const auto messageFor = [&](const TestBitmap& bitmap) { return LoadMessage(dir.Write("B.bmp", bitmap.Build())); };
    const std::string conversion = "Image file conversion error.";
    TestBitmap good;
    good.width = 2;
    good.pixels = StoreRows(24, {{0, 0}});
    EXPECT_EQ(messageFor(good), "");

    auto with = [&](auto change) {
        TestBitmap bitmap = good;
        change(bitmap);
        return messageFor(bitmap);
    };
    EXPECT_EQ(with([](TestBitmap& b) { b.planes = 2; }), conversion);
    EXPECT_EQ(with([](TestBitmap& b) { b.width = 0; }), conversion);
    EXPECT_EQ(with([](TestBitmap& b) { b.width = -2; }), conversion);
    EXPECT_EQ(with([](TestBitmap& b) { b.height = 0; }), conversion);
    for (const std::uint16_t bits : {0, 2, 48, 64}) {
        EXPECT_EQ(with([&](TestBitmap& b) { b.bitCount = bits; }), conversion) << bits;
    }
    for (const std::uint32_t compression : {1u, 2u, 3u, 4u, 5u, 6u, 11u}) {
        EXPECT_EQ(with([&](TestBitmap& b) {
                      b.compression = compression;
                      b.masks = {0xFF0000, 0xFF00, 0xFF};  // so bit fields fail on the bit count
                  }),
                  conversion)
            << compression;
    }
    // Rows missing at the end: the image-size field is not what decides.
    EXPECT_EQ(with([](TestBitmap& b) { b.height = 2; }), conversion);
    EXPECT_EQ(with([](TestBitmap& b) { b.pixels.pop_back(); }), conversion);
    EXPECT_EQ(with([](TestBitmap& b) {
                  b.pixels.clear();
                  b.pixelOffset = 1000;  // the file ends there
              }),
              conversion);
}

TEST(Refusals, HugePictureInATinyFileIsOutOfMemoryBeforeAnythingElse) {
    TempDir dir;
    TestBitmap huge;
    huge.width = 30000;
    huge.height = -30000;
    EXPECT_EQ(LoadMessage(dir.Write("B.bmp", huge.Build())), "Out of memory.");
    // The limit is the padded 24-bit size: 4 x 536870911 bytes just fit.
    TestBitmap limit;
    limit.width = 1;
    limit.height = 536870911;
    EXPECT_EQ(LoadMessage(dir.Write("B.bmp", limit.Build())), "Image file conversion error.");
    limit.height = 536870912;
    EXPECT_EQ(LoadMessage(dir.Write("B.bmp", limit.Build())), "Out of memory.");
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
