// The zoom ladder and its limits (fitting and scroll limits: the art view's frame tests).
#include "ui/art/zoom.h"

#include <gtest/gtest.h>

#include <cmath>

namespace moza::ui::zoom {
namespace {

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

}  // namespace
}  // namespace moza::ui::zoom
