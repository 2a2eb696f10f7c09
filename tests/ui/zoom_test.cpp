// Zoom arithmetic: fitting, the zoom ladder and its limits, zooming about a point, scroll limits.
#include "ui/zoom.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace moza::ui::zoom {
namespace {

struct FitCase {
    QSizeF page;
    QSize viewport;
    double scale;
};

class FitScaleTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitScaleTest, KeepsTheWholePageInTheViewAspectKept) {
    EXPECT_DOUBLE_EQ(FitScale(GetParam().page, GetParam().viewport), GetParam().scale);
}

INSTANTIATE_TEST_SUITE_P(Cases, FitScaleTest,
                         ::testing::Values(FitCase{{14231, 10048}, {312, 249}, 312.0 / 14231},  // a wide photo: by width
                                           FitCase{{1000, 4000}, {312, 249}, 249.0 / 4000},    // a tall one: by height
                                           FitCase{{156, 124.5}, {312, 249}, 2.0},             // small pages grow
                                           FitCase{{0, 0}, {312, 249}, 1.0},                   // nothing to fit
                                           FitCase{{100, 100}, {0, 0}, 1.0}));

TEST(ZoomedSizeTest, RoundsDownSoAFittedPageNeedsNoScrollBars) {
    const QSizeF page(14231.4375, 10048);
    const double fit = FitScale(page, {312, 249});
    const QSize zoomed = ZoomedSize(page, fit);
    EXPECT_EQ(zoomed.width(), 312);
    EXPECT_LE(zoomed.height(), 249);
}

struct StepCase {
    double from;
    int steps;
    double fit;
    double to;
};

class StepScaleTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(StepScaleTest, LandsOnTheLadderWithinTheLimits) {
    EXPECT_NEAR(StepScale(GetParam().from, GetParam().steps, GetParam().fit), GetParam().to, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StepScaleTest,
    ::testing::Values(StepCase{1.0, 1, 0.02, std::exp2(0.25)},        // one rung up from 1:1
                      StepCase{1.0, -4, 0.02, 0.5},                   // four rungs make a halving
                      StepCase{std::exp2(-0.25), 1, 0.02, 1.0},       // computed rungs land on 1:1 exactly
                      StepCase{0.0219, 1, 0.0219, std::exp2(-5.5)},   // from the fitted view to the rung above it
                      StepCase{0.0219, -1, 0.0219, 0.0219},           // never below the fitted view
                      StepCase{0.022, -1, 0.0219, 0.0219},            // stops at the fitted view, off the ladder
                      StepCase{0.03, -1, 0.0219, std::exp2(-5.25)},   // unless a rung lies between
                      StepCase{0.3, -1, 0.02, std::exp2(-1.75)},      // off the ladder: the rung below
                      StepCase{16.0, 1, 0.02, 16.0},                  // never past the largest
                      StepCase{1.0, 40, 0.02, 16.0},
                      StepCase{2.0, -5, 2.0, 1.0}));                  // a small page may go down to 1:1

TEST(ScrollKeepingAnchorTest, ThePagePointUnderTheAnchorStaysPut) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> position(-300, 3000), anchor(0, 312), scale(0.02, 16);
    for (int i = 0; i < 1000; ++i) {
        const QPointF scroll(position(random), position(random));
        const QPointF at(anchor(random), anchor(random));
        const double before = scale(random), after = scale(random);
        const QPointF moved = ScrollKeepingAnchor(scroll, at, before, after);
        const QPointF pageBefore = (scroll + at) / before;
        const QPointF pageAfter = (moved + at) / after;
        ASSERT_NEAR(pageBefore.x(), pageAfter.x(), 1e-9);
        ASSERT_NEAR(pageBefore.y(), pageAfter.y(), 1e-9);
    }
}

struct ClampCase {
    QPointF scroll;
    QSize zoomed;
    QPoint expected;
};

class ClampScrollTest : public ::testing::TestWithParam<ClampCase> {};

TEST_P(ClampScrollTest, CentresSmallPagesAndStopsAtTheEdgesOfLargeOnes) {
    EXPECT_EQ(ClampScroll(GetParam().scroll, GetParam().zoomed, {312, 249}), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ClampScrollTest,
                         ::testing::Values(ClampCase{{50, 50}, {312, 220}, {0, -14}},       // fitted by width, centred
                                           ClampCase{{0, 0}, {100, 49}, {-106, -100}},      // smaller both ways
                                           ClampCase{{-40, -1}, {1000, 1000}, {0, 0}},      // not before the start
                                           ClampCase{{900, 900}, {1000, 1000}, {688, 751}},  // nor past the end
                                           ClampCase{{10.6, 20.4}, {1000, 1000}, {11, 20}}));

}  // namespace
}  // namespace moza::ui::zoom
