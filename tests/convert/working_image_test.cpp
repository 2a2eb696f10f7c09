// Enlargement to whole blocks, pixel by pixel.
#include "convert/working_image.h"

#include <gtest/gtest.h>

namespace moza::convert {
namespace {

/// A picture whose every pixel tells where it came from: x in the low 16 bits, y above.
WorkingImage numbered(int width, int height) {
    WorkingImage image = WorkingImage::create(width, height).value();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.setPixel(x, y, static_cast<ColorValue>(y << 12 | x));
    return image;
}

ColorValue from(int x, int y) { return static_cast<ColorValue>(y << 12 | x); }

struct Enlargement {
    int width, height, newWidth, newHeight;
};

TEST(WorkingImageTest, SizesRiseToTheNextMultipleOfThree) {
    const Enlargement cases[] = {{100, 100, 102, 102}, {101, 99, 102, 99}, {99, 99, 99, 99}, {0, 0, 0, 0},
                                 {1, 1, 3, 3},         {2, 5, 3, 6},       {640, 480, 642, 480}, {3, 32766, 3, 32766}};
    for (const Enlargement& c : cases) {
        WorkingImage image = WorkingImage::create(c.width, c.height).value();
        image.EnlargeToBlocks();
        EXPECT_EQ(image.width(), c.newWidth) << c.width << " x " << c.height;
        EXPECT_EQ(image.height(), c.newHeight) << c.width << " x " << c.height;
        EXPECT_EQ(image.PicWidth(), static_cast<float>(c.newWidth));
        EXPECT_EQ(image.PicHeight(), static_cast<std::int16_t>(c.newHeight));
    }
}

TEST(WorkingImageTest, AHundredSquareCopiesTwoColumnsThenTwoRows) {
    WorkingImage image = numbered(100, 100);
    image.EnlargeToBlocks();
    for (int y = 0; y < 102; ++y) {
        for (int x = 0; x < 102; ++x) {
            const int sx = x < 100 ? x : x - 2;  // 100 <- 98, 101 <- 99
            const int sy = y < 100 ? y : y - 2;
            ASSERT_EQ(image.pixel(x, y), from(sx, sy)) << x << "," << y;
        }
    }
    EXPECT_EQ(image.blockColumns(), 34);
    EXPECT_EQ(image.blockRows(), 34);
}

TEST(WorkingImageTest, OneExtraColumnRepeatsTheLastColumn) {
    WorkingImage image = numbered(101, 99);
    image.EnlargeToBlocks();
    for (int y = 0; y < 99; ++y) {
        for (int x = 0; x < 102; ++x) ASSERT_EQ(image.pixel(x, y), from(x < 101 ? x : 100, y)) << x << "," << y;
    }
}

TEST(WorkingImageTest, WholeSizesChangeNothing) {
    WorkingImage image = numbered(99, 99);
    image.EnlargeToBlocks();
    for (int y = 0; y < 99; ++y)
        for (int x = 0; x < 99; ++x) ASSERT_EQ(image.pixel(x, y), from(x, y));
    image.EnlargeToBlocks();  // a second make command finds nothing to add
    EXPECT_EQ(image.width(), 99);
}

TEST(WorkingImageTest, AOnePixelPictureFillsItsBlockFromThatPixel) {
    WorkingImage image = WorkingImage::create(1, 1).value();
    image.setPixel(0, 0, 0x123456);
    image.EnlargeToBlocks();
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(image.pixel(x, y), 0x123456u) << x << "," << y;
}

TEST(WorkingImageTest, AOnePixelWideColumnIsCopiedTwiceAndTheNewRowsFollow) {
    WorkingImage image = numbered(1, 4);
    image.EnlargeToBlocks();  // 3 x 6: columns 1 and 2 copy column 0, rows 4 and 5 copy rows 2 and 3
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(image.pixel(x, y), from(0, y < 4 ? y : y - 2)) << x << "," << y;
}

TEST(WorkingImageTest, AOnePixelHighRowIsCopiedTwice) {
    WorkingImage image = numbered(5, 1);
    image.EnlargeToBlocks();
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(image.pixel(x, y), from(x < 5 ? x : x - 1, 0)) << x << "," << y;
}

TEST(WorkingImageTest, PicturesTooTallForTheHeightFieldAreRefused) {
    EXPECT_TRUE(WorkingImage::create(1, 32766).ok());
    const Result<WorkingImage> tall = WorkingImage::create(1, 32767);
    ASSERT_FALSE(tall.ok());
    EXPECT_EQ(tall.error().message, "the picture is 32767 pixels high; Moza converts pictures up to 32766 pixels high");
}

}  // namespace
}  // namespace moza::convert
