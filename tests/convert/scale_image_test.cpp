// ScaleImage: checked against a plain area-overlap reference, plus the cases that show aliasing or drift.
#include "convert/scale_image.h"

#include <random>

#include <gtest/gtest.h>

#include "plain_rules.h"

namespace moza::convert {
namespace {

/// The obvious rule: new pixel (x, y) covers [x W / w, (x + 1) W / w) x [y H / h, (y + 1) H / h) of
/// the old image; each channel is the area-weighted mean of the old pixels under it, rounded.
ColorValue referencePixel(const WorkingImage& image, int width, int height, int x, int y) {
    const std::int64_t W = image.width(), H = image.height();
    std::int64_t sums[3] = {0, 0, 0};
    for (std::int64_t oy = 0; oy < H; ++oy) {
        // Both axes in units of 1 / (new size): old pixel i spans [i w, (i + 1) w).
        const std::int64_t dy = std::max<std::int64_t>(0, std::min((oy + 1) * height, (y + 1) * H) - std::max(oy * height, y * H));
        for (std::int64_t ox = 0; ox < W && dy > 0; ++ox) {
            const std::int64_t dx = std::max<std::int64_t>(0, std::min((ox + 1) * width, (x + 1) * W) - std::max(ox * width, x * W));
            const ColorValue v = image.pixel(static_cast<int>(ox), static_cast<int>(oy));
            for (int c = 0; c < 3; ++c) sums[c] += dx * dy * ((v >> (8 * c)) & 255);
        }
    }
    ColorValue value = 0;
    for (int c = 0; c < 3; ++c) value |= static_cast<ColorValue>((sums[c] + W * H / 2) / (W * H)) << (8 * c);
    return value;
}

TEST(ScaleImageTest, EveryPixelIsTheAreaWeightedMeanOfWhatItCovers) {
    std::mt19937 random(7);
    const int sizes[][4] = {{7, 5, 3, 2}, {10, 10, 3, 3}, {9, 6, 9, 6}, {5, 4, 11, 7}, {13, 1, 4, 1}, {1, 9, 2, 4}, {5, 3, 1, 1}, {600, 300, 7, 5}};
    for (const auto& s : sizes) {
        const auto image = testing::RandomPicture<WorkingImage>(random, s[0], s[1]);
        const Result<WorkingImage> scaled = ScaleImage(image, s[2], s[3]);
        ASSERT_TRUE(scaled.ok()) << scaled.error().message;
        ASSERT_EQ(scaled.value().width(), s[2]);
        ASSERT_EQ(scaled.value().height(), s[3]);
        for (int y = 0; y < s[3]; ++y)
            for (int x = 0; x < s[2]; ++x)
                ASSERT_EQ(scaled.value().pixel(x, y), referencePixel(image, s[2], s[3], x, y))
                    << s[0] << "x" << s[1] << " to " << s[2] << "x" << s[3] << " at " << x << "," << y;
    }
}

TEST(ScaleImageTest, SizesThatCannotBeMadeAreRefused) {
    const WorkingImage image = WorkingImage::create(4, 4).value();
    EXPECT_FALSE(ScaleImage(image, 0, 3).ok());
    EXPECT_FALSE(ScaleImage(image, 3, 0).ok());
    EXPECT_FALSE(ScaleImage(image, 3, kMaxPictureHeight + 1).ok());
    EXPECT_FALSE(ScaleImage(WorkingImage{}, 3, 3).ok());
    EXPECT_FALSE(ScaleImage(WorkingImage::create(0, 4).value(), 3, 3).ok());  // no columns, some rows
    EXPECT_FALSE(ScaleImage(WorkingImage::create(4, 0).value(), 3, 3).ok());  // and the other way
    EXPECT_EQ(ScaleImage(image, 0, 3).error().message, "the picture cannot be scaled to 0 x 3 pixels");
}

}  // namespace
}  // namespace moza::convert
