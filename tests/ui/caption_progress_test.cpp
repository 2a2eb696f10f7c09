// Progress captions of the make command reach the window through its queue, at most one per interval.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QWidget>

#include "convert/page_composer.h"
#include "ui/caption_progress.h"

namespace moza::ui {
namespace {

using namespace std::chrono_literals;

QStringList captionsWhileComposing(int width, int height, std::chrono::milliseconds interval) {
    QWidget window;
    QStringList shown;
    CaptionProgress progress(&window, [&shown](const QString& caption) { shown << caption; }, interval);
    const glyph::GlyphTable table({glyph::CharRecord{{}, 'A'}});
    const Status composed = convert::ComposeTable(convert::WorkingImage::create(width, height).value(), table,
                                                  convert::ColorMode::Web, [](std::string_view) { return true; },
                                                  progress.blockProgress());
    EXPECT_TRUE(composed.ok() && shown.isEmpty()) << "captions reach the window through its event queue";
    QCoreApplication::processEvents();
    return shown;
}

TEST(CaptionProgressTest, CaptionsAreThrottledButTheFirstShowsAtOnce) {
    EXPECT_EQ(captionsWhileComposing(9, 6, 0ms).size(), 6);
    EXPECT_EQ(captionsWhileComposing(9, 6, 1h), QStringList{"Moza - 0/5 (00.00%)"});
}

}  // namespace
}  // namespace moza::ui
