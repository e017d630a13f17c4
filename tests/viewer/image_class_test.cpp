#include "image/image_class.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "bmp_writer.h"
#include "dib/message_sink.h"

namespace {

std::vector<std::uint8_t> Bytes(const ImageClass& image) {
    const std::size_t size = std::size_t{3} * image.SizeX() * image.SizeY();
    return {image.Data(), image.Data() + size};
}

struct Rgb {
    std::uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

Rgb PixelAt(const ImageClass& image, int x, int y) {
    Rgb rgb{};
    image.GetPixel(x, y, rgb.r, rgb.g, rgb.b);
    return rgb;
}

int IntensityOf(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    ImageClass image(1, 1);
    image.SetPixel(0, 0, r, g, b);
    return image.GetPointIntensity(0, 0);
}

// --- Intensity: the dark threshold depends on every rounding step ---

TEST(Intensity, ColoursAroundTheDarkThreshold) {
    EXPECT_EQ(IntensityOf(5, 5, 5), 4);
    EXPECT_EQ(IntensityOf(6, 6, 6), 6);
    EXPECT_EQ(IntensityOf(16, 0, 0), 4);
    EXPECT_EQ(IntensityOf(17, 0, 0), 5);
    EXPECT_EQ(IntensityOf(0, 8, 0), 4);
    EXPECT_EQ(IntensityOf(0, 9, 0), 5);
    EXPECT_EQ(IntensityOf(0, 0, 45), 4);
    EXPECT_EQ(IntensityOf(0, 0, 46), 5);
    EXPECT_EQ(IntensityOf(0, 0, 0), 0);
    EXPECT_EQ(IntensityOf(255, 255, 255), 255);
}

// Greys fall just under v for exactly 67 levels when the sum is taken in
// double precision in the given order; single precision, integer weights or
// a fused multiply-add each give a different set.
TEST(Intensity, GreysThatLoseOneAreExactlyTheKnownSixtySeven) {
    std::vector<int> lowered;
    for (int v = 0; v < 256; ++v) {
        const int intensity = IntensityOf(v, v, v);
        ASSERT_TRUE(intensity == v || intensity == v - 1) << "grey " << v << " gives " << intensity;
        if (intensity == v - 1) {
            lowered.push_back(v);
        }
    }
    EXPECT_EQ(lowered.size(), 67u);
    for (int v : {1, 2, 4, 5, 8, 10, 16, 20, 128, 253}) {
        EXPECT_EQ(IntensityOf(v, v, v), v - 1) << "grey " << v;
    }
    for (int v : {0, 3, 6, 7, 9, 11, 12, 13, 14, 15, 17, 100, 127, 254, 255}) {
        EXPECT_EQ(IntensityOf(v, v, v), v) << "grey " << v;
    }
}

TEST(Intensity, ReadsThePixelAskedFor) {
    ImageClass image(3, 2);
    image.SetPixel(2, 1, 0, 0, 0);
    image.SetPixel(0, 1, 100, 100, 100);
    EXPECT_EQ(image.GetPointIntensity(2, 1), 0);
    EXPECT_EQ(image.GetPointIntensity(0, 1), 100);
    EXPECT_EQ(image.GetPointIntensity(1, 1), 255);
    EXPECT_EQ(image.GetPointIntensity(2, 0), 255);
}

// --- Construction and pixel layout ---

TEST(ImageLayout, SizedImageIsWhiteAtOrigin) {
    ImageClass image(2, 3);
    EXPECT_EQ(image.SizeX(), 2);
    EXPECT_EQ(image.SizeY(), 3);
    EXPECT_EQ(image.PosX(), 0);
    EXPECT_EQ(image.PosY(), 0);
    EXPECT_EQ(Bytes(image), std::vector<std::uint8_t>(18, 255));
}

TEST(ImageLayout, DefaultImageIsEmptyAndSetPosMovesIt) {
    ImageClass image;
    EXPECT_FALSE(image.HasImage());
    image.SetPos(310, -4);
    EXPECT_EQ(image.PosX(), 310);
    EXPECT_EQ(image.PosY(), -4);
}

// Rows bottom first, left to right, red then green then blue.
TEST(ImageLayout, PixelsLieRowAfterRowFromTheBottom) {
    ImageClass image(4, 3);
    image.SetPixel(0, 0, 1, 2, 3);
    image.SetPixel(3, 1, 4, 5, 6);
    image.SetPixel(1, 2, 7, 8, 9);
    std::vector<std::uint8_t> expected(36, 255);
    expected[0] = 1, expected[1] = 2, expected[2] = 3;                        // (0, 0)
    expected[(1 * 4 + 3) * 3] = 4, expected[22] = 5, expected[23] = 6;        // (3, 1)
    expected[(2 * 4 + 1) * 3] = 7, expected[28] = 8, expected[29] = 9;        // (1, 2)
    EXPECT_EQ(Bytes(image), expected);
    EXPECT_EQ(PixelAt(image, 3, 1), (Rgb{4, 5, 6}));
    EXPECT_EQ(PixelAt(image, 1, 2), (Rgb{7, 8, 9}));
    EXPECT_EQ(PixelAt(image, 2, 2), (Rgb{255, 255, 255}));
}

// --- Lines: both ends are drawn, nothing past them ---

TEST(Lines, HorizontalLineCoversBothEndsOnItsRowOnly) {
    ImageClass image(8, 4);
    image.DrawLineH(2, 1, 6, 10, 20, 30);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool on = y == 2 && x >= 1 && x <= 6;
            EXPECT_EQ(PixelAt(image, x, y), (on ? Rgb{10, 20, 30} : Rgb{255, 255, 255})) << x << "," << y;
        }
    }
}

TEST(Lines, VerticalLineCoversBothEndsOnItsColumnOnly) {
    ImageClass image(4, 8);
    image.DrawLineV(3, 0, 7, 1, 2, 3);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(PixelAt(image, x, y), (x == 3 ? Rgb{1, 2, 3} : Rgb{255, 255, 255})) << x << "," << y;
        }
    }
}

TEST(Lines, OnePixelWhenEndsMeetAndNoneWhenReversed) {
    ImageClass image(8, 8);
    image.DrawLineH(2, 5, 5, 0, 0, 0);
    image.DrawLineV(6, 4, 4, 0, 0, 0);
    image.DrawLineH(3, 6, 5, 0, 0, 0);
    image.DrawLineV(1, 7, 0, 0, 0, 0);
    std::vector<std::uint8_t> expected(8 * 8 * 3, 255);
    std::fill_n(expected.begin() + (2 * 8 + 5) * 3, 3, 0);
    std::fill_n(expected.begin() + (4 * 8 + 6) * 3, 3, 0);
    EXPECT_EQ(Bytes(image), expected);
}

// --- Whole-buffer operations ---

TEST(WholeImage, ClearWhitensEveryPixel) {
    ImageClass image(5, 3);
    for (int y = 0; y < 3; ++y) {
        image.DrawLineH(y, 0, 4, 0, 0, 0);
    }
    image.Clear();
    EXPECT_EQ(Bytes(image), std::vector<std::uint8_t>(45, 255));
}

TEST(WholeImage, CopyToFillsTheStartOfALargerImageAndKeepsSizesAndPlaces) {
    ImageClass source(3, 2);
    source.SetPixel(0, 0, 1, 2, 3);
    source.SetPixel(2, 1, 4, 5, 6);
    source.SetPos(7, 8);
    ImageClass dest(4, 4);
    dest.DrawLineH(3, 0, 3, 9, 9, 9);
    dest.SetPos(20, 30);

    source.CopyTo(dest);

    std::vector<std::uint8_t> expected = Bytes(source);
    const std::vector<std::uint8_t> before = [] {
        ImageClass image(4, 4);
        image.DrawLineH(3, 0, 3, 9, 9, 9);
        return Bytes(image);
    }();
    expected.insert(expected.end(), before.begin() + 18, before.end());
    EXPECT_EQ(Bytes(dest), expected);
    EXPECT_EQ(dest.SizeX(), 4);
    EXPECT_EQ(dest.SizeY(), 4);
    EXPECT_EQ(dest.PosX(), 20);
    EXPECT_EQ(dest.PosY(), 30);
    EXPECT_EQ(source.PosX(), 7);
    EXPECT_EQ(PixelAt(source, 2, 1), (Rgb{4, 5, 6}));
}

// --- Loading ---

class Loading : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "image-class-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        previous = SetMessageSink([this](std::string_view caption, std::string_view text) {
            messages.emplace_back(std::string(caption) + ": " + std::string(text));
        });
    }
    void TearDown() override {
        SetMessageSink(std::move(previous));
        std::filesystem::remove_all(folder);
    }
    std::string Write(const std::string& name, const TestPicture& picture) {
        const std::string path = (folder / name).string();
        WriteFile(path, EncodeBmp(picture));
        return path;
    }

    std::filesystem::path folder;
    MessageSink previous;
    std::vector<std::string> messages;
};

TEST_F(Loading, LoadTakesThePictureBottomRowFirst) {
    const TestPicture picture = MakePatternPicture(7, 5);
    ImageClass image;
    EXPECT_EQ(image.Load(Write("a.bmp", picture).c_str()), 1);
    ASSERT_TRUE(image.HasImage());
    EXPECT_EQ(image.SizeX(), 7);
    EXPECT_EQ(image.SizeY(), 5);
    EXPECT_EQ(Bytes(image), picture.rgb);
    EXPECT_TRUE(messages.empty());
}

TEST_F(Loading, SecondLoadKeepsTheFirstPictureAndSaysSo) {
    const TestPicture first = MakePatternPicture(6, 4);
    const std::string firstPath = Write("first.bmp", first);
    const std::string secondPath = Write("second.bmp", MakeFlatPicture(9, 9, 0x123456));
    ImageClass image;
    ASSERT_EQ(image.Load(firstPath.c_str()), 1);

    ::testing::internal::CaptureStdout();
    const int result = image.Load(secondPath.c_str());
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "ImageClass:Imagem inexistente !\n");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(image.SizeX(), 6);
    EXPECT_EQ(image.SizeY(), 4);
    EXPECT_EQ(Bytes(image), first.rgb);
    EXPECT_TRUE(messages.empty());

    ImageClass sized(2, 2);
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(sized.Load(firstPath.c_str()), 0);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "ImageClass:Imagem inexistente !\n");
    EXPECT_EQ(Bytes(sized), std::vector<std::uint8_t>(12, 255));
}

TEST_F(Loading, FailedLoadLeavesImageEmptyAndReportsOnce) {
    ImageClass image;
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(image.Load((folder / "missing.bmp").c_str()), 0);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_FALSE(image.HasImage());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("Error: Failed to open DIB file ", 0), 0u) << messages[0];

    // Still empty, so a later load may fill it.
    EXPECT_EQ(image.Load(Write("b.bmp", MakeFlatPicture(3, 1, 0xABCDEF)).c_str()), 1);
    EXPECT_EQ(PixelAt(image, 2, 0), (Rgb{0xAB, 0xCD, 0xEF}));
}

}  // namespace
