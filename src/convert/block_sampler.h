// Block sampling: darkness levels and the average colour of one 3 x 3 block.
#pragma once

#include <array>
#include <cstdint>

#include "convert/working_image.h"
#include "glyph/char_record.h"

namespace moza::convert {

struct BlockSample {
    glyph::DarknessPattern pattern{};  // index = 3 x dy + dx
    int red = 0;
    int green = 0;
    int blue = 0;
};

/// The exact darkness 256 - S / 3 of a grey or pixel whose channels sum to S (0 to 765, fractions
/// allowed): 1 for white, 256 for black.
double ExactDarkness(double channelSum);

/// Darkness value of a pixel from its channel sum S = red + green + blue (0 to 765):
/// 256 - S / 3, rounded to the nearest whole number; 1 for white, 256 for black.
std::int16_t DarknessValue(int channelSum);

/// The width of one darkness level on the darkness-value scale: a darkness value d has the
/// level floor(d / kDarknessLevelStep), so 1 to 23 are level 0 and 233 to 256 level 10.
inline constexpr double kDarknessLevelStep = 23.3;

/// The level floor(d / kDarknessLevelStep) of a darkness value d, which may hold a fraction (a grey
/// measured rather than sampled): 0 for d below the step, 10 for 233 to 256. Values past 256 give 11
/// and more; callers keep d within 1 to 256.
std::int16_t DarknessLevelOf(double darknessValue);

/// Darkness level floor(d / 23.3) for the darkness value d of channel sum S (0 to 765).
std::int16_t DarknessLevelOfSum(int channelSum);

namespace detail {
/// Levels for every channel sum 0 to 765, built once from the exact formula.
extern const std::array<std::int16_t, 766> kLevelBySum;
}  // namespace detail

/// A block's nine levels packed (glyph::PackPattern) and each channel's floor average: what
/// SampleBlock measures, in the form the composer looks glyphs up by.
struct PackedBlockSample {
    glyph::PackedPattern levels = 0;
    int red = 0;
    int green = 0;
    int blue = 0;
};

/// Samples the block whose three rows of three pixels start at `rows[0]`, `rows[1]` and `rows[2]`,
/// its levels packed. Levels are 0 to 10, so they always pack whole.
inline PackedBlockSample SamplePackedBlock(const ColorValue* const (&rows)[3]) {
    glyph::PackedPattern levels = 0;
    std::uint32_t redBlue = 0;  // red in the low 16 bits, blue in the high: nine bytes never carry over
    std::uint32_t green = 0;
    for (const ColorValue* pixels : rows) {
        for (int dx = 0; dx < 3; ++dx) {
            const ColorValue v = pixels[dx];
            redBlue += v & 0x00FF00FFu;
            green += (v >> 8) & 255u;
            const std::uint32_t sum = (v & 255u) + ((v >> 8) & 255u) + ((v >> 16) & 255u);
            levels = (levels << 4) | static_cast<glyph::PackedPattern>(detail::kLevelBySum[sum]);
        }
    }
    return {levels, static_cast<int>((redBlue & 0xFFFFu) / 9), static_cast<int>(green / 9),
            static_cast<int>((redBlue >> 16) / 9)};
}

/// Samples block (blockRow, blockColumn) of an image already enlarged to whole blocks, its levels
/// packed.
inline PackedBlockSample SamplePackedBlock(const WorkingImage& image, int blockRow, int blockColumn) {
    const ColorValue* const rows[3] = {image.row(3 * blockRow) + 3 * blockColumn,
                                       image.row(3 * blockRow + 1) + 3 * blockColumn,
                                       image.row(3 * blockRow + 2) + 3 * blockColumn};
    return SamplePackedBlock(rows);
}

/// Samples block (blockRow, blockColumn) of an image already enlarged to whole blocks: the nine
/// pixels' levels row by row and each channel's floor average.
inline BlockSample SampleBlock(const WorkingImage& image, int blockRow, int blockColumn) {
    const PackedBlockSample packed = SamplePackedBlock(image, blockRow, blockColumn);
    return {glyph::UnpackPattern(packed.levels), packed.red, packed.green, packed.blue};
}

}  // namespace moza::convert
