// Progress captions of the make command reach the window through its queue, at most one per interval.
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

TEST(CaptionProgressTest, CaptionsAreThrottledButTheFirstShowsAtOnce) {
    EXPECT_EQ(captionsWhileComposing(9, 6, 0ms).size(), 6);
    EXPECT_EQ(captionsWhileComposing(9, 6, 1h), QStringList{"Moza - 0/5 (00.00%)"});
    // 200 x 200 blocks compose in well under a minute, so one caption a minute shows one.
    EXPECT_EQ(captionsWhileComposing(600, 600, 1min).size(), 1);
    EXPECT_TRUE(captionsWhileComposing(0, 0, 0ms).isEmpty());
}

}  // namespace
}  // namespace moza::ui
