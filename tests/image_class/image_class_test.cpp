// ImageClass on its own, without a window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "temp_dir.h"
#include "test_picture.h"

namespace {

Bytes BufferOf(const ImageClass& image) {
    return {image.Data(), image.Data() + std::size_t{3} * image.SizeX() * image.SizeY()};
}

int IntensityOf(std::uint32_t colour) {
    ImageClass image(1, 1);
    Fill(image, {{colour}});
    return image.GetPointIntensity(0, 0);
}

// Taken in double precision in the given order, exactly 67 greys fall to
// v - 1. Single precision (48), integer weights (none), another order (26) or
// a fused multiply-add (68) differ. The pass tests cover each weight, through
// the dark threshold of every colour.
TEST(Intensity, IsTheWeightedSumInDoublePrecisionInTheGivenOrder) {
    std::vector<int> lowered;
    for (int v = 0; v < 256; ++v) {
        const int intensity = IntensityOf(v * 0x010101u);
        ASSERT_TRUE(intensity == v || intensity == v - 1) << "grey " << v << " gives " << intensity;
        if (intensity < v) {
            lowered.push_back(v);
        }
    }
    ASSERT_EQ(lowered.size(), 67u);
    EXPECT_EQ(std::vector(lowered.begin(), lowered.begin() + 8), (std::vector{1, 2, 4, 5, 8, 10, 16, 20}));
}

TEST(ImageClass, LinesCoverBothEndsAndNothingElse) {
    const struct { bool horizontal; int at, from, to; } lines[] = {
        {true, 2, 1, 6}, {true, 2, 5, 5}, {true, 2, 6, 5}, {false, 3, 0, 7}, {false, 6, 4, 4}, {false, 1, 7, 0}};
    for (const auto& line : lines) {
        ImageClass image(8, 8);
        if (line.horizontal) {
            image.DrawLineH(line.at, line.from, line.to, 10, 20, 30);
        } else {
            image.DrawLineV(line.at, line.from, line.to, 10, 20, 30);
        }
        Rows expected = Flat(8, 8, kWhite);
        for (int i = line.from; i <= line.to; ++i) {
            (line.horizontal ? expected[line.at][i] : expected[i][line.at]) = 0x0A141E;
        }
        EXPECT_EQ(Read(image), expected) << (line.horizontal ? "H " : "V ") << line.at << " " << line.from;
    }
}

TEST(ImageClass, CopyToFillsTheStartOfALargerImageAndClearWhitens) {
    ImageClass source(3, 2);
    Fill(source, Pattern(3, 2));
    ImageClass dest(4, 4);
    Fill(dest, Flat(4, 4, 0x090909));

    source.CopyTo(dest);
    Bytes expected = BufferOf(source);
    expected.resize(48, 9);
    EXPECT_EQ(BufferOf(dest), expected);

    dest.Clear();
    EXPECT_EQ(BufferOf(dest), Bytes(48, 255));
}

// An empty image takes one picture; a failed load leaves it empty, and once it
// holds one, later loads are refused with a line on standard output. With no
// message sink installed, the loader's message is one line on standard error.
TEST(ImageClass, LoadFillsAnEmptyImageOnce) {
    const TempDir dir;
    const std::string first = dir.Write("first.bmp", Bmp(Pattern(7, 5)));
    const std::string second = dir.Write("second.bmp", Bmp(Flat(9, 9, 0x123456)));
    ImageClass image;
    ImageClass sized(2, 2);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(image.Load((dir / "missing.bmp").c_str()), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: Failed to open DIB file " + dir / "missing.bmp" + ".\n");
    EXPECT_FALSE(image.HasImage());
    EXPECT_EQ(image.Load(first.c_str()), 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    for (ImageClass* full : {&image, &sized}) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(full->Load(second.c_str()), 0);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "ImageClass:Imagem inexistente !\n");
    }
    EXPECT_EQ(Read(image), Pattern(7, 5));
    EXPECT_EQ(Read(sized), Flat(2, 2, kWhite));
}

}  // namespace
