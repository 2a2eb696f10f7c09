// Zoom arithmetic: fitting, the zoom ladder and its limits, scroll limits.
#include "ui/art/zoom.h"

#include <gtest/gtest.h>

#include <cmath>

namespace moza::ui::zoom {
namespace {

TEST(FitScaleTest, KeepsTheWholePageInTheViewAspectKept) {
    const struct {
        QSizeF page;
        QSize viewport;
        double scale;
    } cases[] = {
        {{14231, 10048}, {312, 249}, 312.0 / 14231},  // a wide photo: by width
        {{1000, 4000}, {312, 249}, 249.0 / 4000},     // a tall one: by height
        {{156, 124.5}, {312, 249}, 2.0},              // small pages grow
        {{0, 0}, {312, 249}, 1.0},                    // nothing to fit
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(FitScale(c.page, c.viewport), c.scale) << c.page.width();
}

TEST(StepScaleTest, LandsOnTheLadderWithinTheLimits) {
    const struct {
        double from;
        int steps;
        double fit;
        double to;
    } cases[] = {
        {1.0, -4, 0.02, 0.5},                   // four rungs make a halving
        {std::exp2(-0.25), 1, 0.02, 1.0},       // computed rungs land on 1:1 exactly
        {0.0219, 1, 0.0219, std::exp2(-5.5)},   // from the fitted view to the rung above it
        {0.0219, -1, 0.0219, 0.0219},           // never below the fitted view
        {0.03, -1, 0.0219, std::exp2(-5.25)},   // unless a rung lies between
        {0.3, -1, 0.02, std::exp2(-1.75)},      // off the ladder: the rung below
        {1.0, 40, 0.02, 16.0},                  // never past the largest
        {2.0, -5, 2.0, 1.0},                    // a small page may go down to 1:1
    };
    for (const auto& c : cases) EXPECT_NEAR(StepScale(c.from, c.steps, c.fit), c.to, 1e-12) << c.from << " " << c.steps;
}

TEST(ClampScrollTest, CentresSmallPagesAndStopsAtTheEdgesOfLargeOnes) {
    const struct {
        QPointF scroll;
        QSize zoomed;
        QPoint expected;
    } cases[] = {
        {{50, 50}, {312, 220}, {0, -14}},       // fitted by width, centred
        {{-40, -1}, {1000, 1000}, {0, 0}},      // not before the start
        {{900, 900}, {1000, 1000}, {688, 751}},  // nor past the end
    };
    for (const auto& c : cases) EXPECT_EQ(ClampScroll(c.scroll, c.zoomed, {312, 249}), c.expected) << c.scroll.x();
}

}  // namespace
}  // namespace moza::ui::zoom
