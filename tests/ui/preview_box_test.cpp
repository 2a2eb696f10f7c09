// The letterboxed preview: band placement with halves rounded to even, and what is drawn.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "convert/working_image.h"
#include "ui/preview_box.h"

namespace moza::ui {
namespace {

struct BandCase {
    int width;
    int height;
    QRect band;

    friend void PrintTo(const BandCase& c, std::ostream* out) { *out << c.width << " x " << c.height; }
};

class PreviewBandTest : public ::testing::TestWithParam<BandCase> {};

TEST_P(PreviewBandTest, PictureCoversItsBand) {
    const BandCase& c = GetParam();
    EXPECT_EQ(PreviewBand(c.width, c.height), c.band) << c.width << " x " << c.height;
}

INSTANTIATE_TEST_SUITE_P(Placements, PreviewBandTest,
                         ::testing::Values(BandCase{400, 300, {0, 24, 189, 142}},   // 141.75 -> 142, 23.625 -> 24
                                           BandCase{300, 400, {24, 0, 142, 189}},
                                           BandCase{189, 189, {0, 0, 189, 189}},    // a square fills it
                                           BandCase{1, 1, {0, 0, 189, 189}},        // one pixel fills it
                                           BandCase{378, 189, {0, 47, 189, 94}},    // 94.5 -> 94, 47.25 -> 47
                                           BandCase{189, 378, {47, 0, 94, 189}},
                                           BandCase{378, 376, {0, 0, 189, 188}},    // offset 0.5 -> 0
                                           BandCase{378, 1, {}},                    // 0.5 -> 0: nothing drawn
                                           BandCase{377, 1, {0, 94, 189, 1}},       // a one-pixel line
                                           BandCase{1, 378, {}},
                                           BandCase{0, 0, {}},                      // no picture
                                           BandCase{4000, 3000, {0, 24, 189, 142}}),
                         [](const ::testing::TestParamInfo<BandCase>& param) {
                             return std::to_string(param.param.width) + "x" + std::to_string(param.param.height);
                         });

convert::WorkingImage plainPicture(int width, int height, convert::ColorValue color) {
    Result<convert::WorkingImage> image = convert::WorkingImage::create(width, height);
    EXPECT_TRUE(image.ok());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) image.value().setPixel(x, y, color);
    }
    return std::move(image).value();
}

constexpr convert::ColorValue kRed = 0x0000FF;  // 00BBGGRR

QImage whitePreview() {
    QImage white(189, 189, QImage::Format_RGB32);
    white.fill(Qt::white);
    return white;
}

TEST(PreviewBoxTest, NoPictureOrABandOfNothingLeavesThePreviewWhite) {
    PreviewBox box;
    box.ShowPicture(plainPicture(378, 1, kRed));
    EXPECT_EQ(box.image(), whitePreview());
    box.ShowPicture(plainPicture(10, 10, kRed));
    box.ShowPicture(convert::WorkingImage());
    EXPECT_EQ(box.image(), whitePreview());
}

TEST(PreviewBoxTest, EnlargedWorkingImageIsDrawnFromItsVisiblePixels) {
    convert::WorkingImage picture = plainPicture(4, 2, kRed);
    picture.EnlargeToBlocks();  // 6 x 3, rows stored with room to spare
    PreviewBox box;
    box.ShowPicture(picture);
    EXPECT_EQ(box.image().pixel(0, 32), qRgb(255, 255, 255));
    EXPECT_EQ(box.image().pixel(0, 47), qRgb(255, 0, 0));
    EXPECT_EQ(box.image().pixel(188, 140), qRgb(255, 0, 0));
    EXPECT_EQ(box.image().pixel(188, 141), qRgb(255, 255, 255));
}

}  // namespace
}  // namespace moza::ui
