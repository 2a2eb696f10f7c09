// Progress captions of the make command: exact texts, and at most one per interval.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QWidget>

#include "convert/page_composer.h"
#include "ui/caption_progress.h"

namespace moza::ui {
namespace {

using namespace std::chrono_literals;

convert::WorkingImage whitePicture(int width, int height) {
    Result<convert::WorkingImage> image = convert::WorkingImage::create(width, height);
    EXPECT_TRUE(image.ok());
    return std::move(image).value();
}

QStringList captionsWhileComposing(int width, int height, std::chrono::milliseconds interval) {
    QWidget window;
    QStringList shown;
    CaptionProgress progress(&window, [&shown](const QString& caption) { shown << caption; }, interval);
    const glyph::GlyphTable table({glyph::CharRecord{{}, 'A'}});
    const Status composed = convert::ComposeTable(whitePicture(width, height), table, convert::ColorMode::Web,
                                                  [](std::string_view) { return true; }, progress.blockProgress());
    EXPECT_TRUE(composed.ok());
    EXPECT_TRUE(shown.isEmpty()) << "captions reach the window through its event queue";
    QCoreApplication::processEvents();
    return shown;
}

TEST(CaptionProgressTest, EveryBlockIsShownWhenNotThrottled) {
    const QStringList expected = {"Moza - 0/5 (00.00%)",  "Moza - 1/5 (20.00%)", "Moza - 2/5 (40.00%)",
                                  "Moza - 3/5 (60.00%)",  "Moza - 4/5 (80.00%)", "Moza - 5/5 (100.00%)"};
    EXPECT_EQ(captionsWhileComposing(9, 6, 0ms), expected);
}

TEST(CaptionProgressTest, TwoBlockPictureShowsBothCaptions) {
    const QStringList expected = {"Moza - 0/1 (00.00%)", "Moza - 1/1 (100.00%)"};
    EXPECT_EQ(captionsWhileComposing(6, 3, 0ms), expected);
}

TEST(CaptionProgressTest, ThrottledCaptionShowsTheFirstBlockAtOnce) {
    EXPECT_EQ(captionsWhileComposing(9, 6, 1h), QStringList{"Moza - 0/5 (00.00%)"});
}

TEST(CaptionProgressTest, EmptyPictureShowsNoCaption) {
    EXPECT_TRUE(captionsWhileComposing(0, 0, 0ms).isEmpty());
}

TEST(CaptionProgressTest, ThrottledCaptionsStayFewOnALargePicture) {
    // 200 x 200 blocks compose in well under a minute, so one caption a minute shows one.
    EXPECT_EQ(captionsWhileComposing(600, 600, 1min).size(), 1);
}

}  // namespace
}  // namespace moza::ui
