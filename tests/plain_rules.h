// The conversion's rules written out plainly, for tests to hold the fast code against: the
// darkness level of a pixel, FindGlyph as a scan of the table, a cell's markup and a record.
#pragma once

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "glyph/char_record.h"

namespace moza::testing {

/// floor(d / 23.3) for d = 256 - S / 3 rounded, S the channel sum.
inline glyph::Level PlainLevel(int red, int green, int blue) {
    const double darkness = std::round(256.0 - (red + green + blue) / 3.0);
    return static_cast<glyph::Level>(std::floor(darkness / 23.3));
}

/// The record agreeing on the longest run of probe positions (corners, edge middles, centre),
/// the earliest on a tie; record 0 when none agrees at the top-left.
inline glyph::CharCode PlainFindGlyph(const std::vector<glyph::CharRecord>& records, const glyph::DarknessPattern& pattern) {
    constexpr std::size_t kProbes[9] = {0, 2, 6, 8, 1, 3, 5, 7, 4};
    std::size_t best = 0;
    int bestRun = -1;
    for (std::size_t i = 0; i < records.size(); ++i) {
        int run = 0;
        while (run < 9 && records[i].Pattern[kProbes[run]] == pattern[kProbes[run]]) ++run;
        if (run > bestRun) {
            bestRun = run;
            best = i;
        }
    }
    return records[best].Code;
}

/// One table cell: its colour (six hexadecimal digits) and its character's bytes.
inline std::string PlainCell(const std::string& color, const std::string& glyph) {
    return "<td width=9><font style=font-size:8pt;color:#" + color + ">" + glyph + "</font></td>";
}

/// One table cell of a character code: one byte, two bytes lead first, or "?" past two bytes.
inline std::string PlainCell(const std::string& color, glyph::CharCode code) {
    if (code >= 0 && code <= 255) return PlainCell(color, std::string(1, static_cast<char>(code)));
    if (code > 255 && code <= 65535) return PlainCell(color, std::string{static_cast<char>(code / 256), static_cast<char>(code % 256)});
    return PlainCell(color, std::string("?"));
}

/// A record whose nine levels are all `level`.
inline glyph::CharRecord UniformRecord(glyph::Level level, glyph::CharCode code) {
    glyph::CharRecord record{{}, code};
    record.Pattern.fill(level);
    return record;
}

/// A `width` x `height` picture (a WorkingImage) of random colours drawn from `random`.
template <class Image>
Image RandomPicture(std::mt19937& random, int width, int height) {
    Image image = Image::create(width, height).value();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.setPixel(x, y, static_cast<std::uint32_t>(random() & 0xFFFFFFu));
    return image;
}

}  // namespace moza::testing
