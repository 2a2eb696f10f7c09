// The font the shipped character table was measured from, and so the font pages want.
#pragma once

namespace moza::glyph {

/// The family whose glyphs the shipped char.csv measures: the generator's default font and the
/// font the page view draws pages in.
inline constexpr const char* kGlyphFontFamily = "IPAGothic";

}  // namespace moza::glyph
