// The letterboxed preview: band placement with halves rounded to even, and what is drawn.
#include <gtest/gtest.h>

#include "convert/working_image.h"
#include "ui/preview_box.h"

namespace moza::ui {
namespace {

TEST(PreviewBandTest, PictureCoversItsBand) {
    const struct {
        int width, height;
        QRect band;
    } cases[] = {
        {400, 300, {0, 24, 189, 142}},  // 141.75 -> 142, 23.625 -> 24
        {378, 189, {0, 47, 189, 94}},   // 94.5 -> 94, 47.25 -> 47
        {378, 376, {0, 0, 189, 188}},   // offset 0.5 -> 0
        {378, 1, {}},                   // 0.5 -> 0: nothing drawn
        {377, 1, {0, 94, 189, 1}},      // a one-pixel line
        {0, 0, {}},                     // no picture
    };
    for (const auto& c : cases) EXPECT_EQ(PreviewBand(c.width, c.height), c.band) << c.width << " x " << c.height;
}

convert::WorkingImage redPicture(int width, int height) {
    convert::WorkingImage image = convert::WorkingImage::create(width, height).value();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.setPixel(x, y, 0x0000FF);  // 00BBGGRR
    return image;
}

TEST(PreviewBoxTest, AnEnlargedPictureIsDrawnFromItsVisiblePixelsAndNothingLeavesItWhite) {
    QImage white(189, 189, QImage::Format_RGB32);
    white.fill(Qt::white);
    PreviewBox box;
    box.ShowPicture(redPicture(378, 1));
    EXPECT_EQ(box.image(), white);
    convert::WorkingImage picture = redPicture(4, 2);
    picture.EnlargeToBlocks();  // 6 x 3, rows stored with room to spare
    box.ShowPicture(picture);
    EXPECT_EQ(box.image().pixel(0, 32), qRgb(255, 255, 255));
    EXPECT_EQ(box.image().pixel(0, 47), qRgb(255, 0, 0));
    EXPECT_EQ(box.image().pixel(188, 140), qRgb(255, 0, 0));
    EXPECT_EQ(box.image().pixel(188, 141), qRgb(255, 255, 255));
    box.ShowPicture(convert::WorkingImage());
    EXPECT_EQ(box.image(), white);
}

}  // namespace
}  // namespace moza::ui
