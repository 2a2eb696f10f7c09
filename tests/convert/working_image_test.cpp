// The working image: enlargement to whole blocks pixel by pixel against the rule written out,
// and the height limit.
#include "convert/working_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace moza::convert {
namespace {

/// A picture whose every pixel tells where it came from: x in the low 12 bits, y above.
ColorValue from(int x, int y) { return static_cast<ColorValue>(y << 12 | x); }

/// Where pixel `at` of an enlarged side comes from, the side having been `old` long: inside, itself;
/// beyond it, the old pixels just inside the edge in their order (a source left of 0 reads 0).
int plainSource(int at, int old) {
    const int added = WholeBlocks(old) - old;
    return at < old ? at : std::max(old - added + (at - old), 0);
}

TEST(WorkingImageTest, EnlargementCopiesTheEdgeColumnsThenTheEdgeRows) {
    std::vector<std::pair<int, int>> sizes = {{100, 100}, {101, 99}, {640, 480}, {1, 11}};
    for (int w = 0; w <= 7; ++w)
        for (int h = 0; h <= 7; ++h) sizes.emplace_back(w, h);
    for (const auto& [width, height] : sizes) {
        WorkingImage image = WorkingImage::create(width, height).value();
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) image.setPixel(x, y, from(x, y));
        image.EnlargeToBlocks();
        ASSERT_EQ(image.width(), WholeBlocks(width));
        ASSERT_EQ(image.height(), WholeBlocks(height));
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                ASSERT_EQ(image.pixel(x, y), from(plainSource(x, width), plainSource(y, height)))
                    << width << " x " << height << " at " << x << "," << y;
    }
}

TEST(WorkingImageTest, ANewImageIsWhiteAndWholeSizesStayAsTheyAre) {
    WorkingImage image = WorkingImage::create(5, 4).value();
    image.EnlargeToBlocks();
    image.EnlargeToBlocks();  // a second make command finds nothing to add
    EXPECT_EQ(image.width(), 6);
    EXPECT_EQ(image.height(), 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) ASSERT_EQ(image.pixel(x, y), 0xFFFFFFu) << "no pixel holds what memory held";
}

TEST(WorkingImageTest, PicturesTooTallForTheHeightFieldOrOfNoSizeAreRefused) {
    EXPECT_EQ(WorkingImage::create(-1, 5).error().kind, ErrorKind::PictureSizeInvalid);
    EXPECT_TRUE(WorkingImage::create(1, 32766).ok());
    EXPECT_EQ(WorkingImage::create(1, 32767).error().message, "the picture is 32767 pixels high; Moza converts pictures up to 32766 pixels high");
}

}  // namespace
}  // namespace moza::convert
