// FontFace: one font file opened with FreeType at a pixel size, and font lookup by family name.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/result.h"

namespace moza::tools {

/// The file of the font that fontconfig picks for `family` ("IPAGothic"). Fails when fontconfig
/// finds nothing, or only a font of another family.
Result<std::filesystem::path> FindFontFile(const std::string& family);

/// Anti-aliased ink of one glyph: coverage 0 (none) to 1 (full) per pixel, placed relative to
/// the pen position on the baseline.
struct GlyphInk {
    int left = 0;    // pixels from the pen position to the bitmap's first column
    int top = 0;     // pixels from the baseline up to the bitmap's first row
    int width = 0;
    int rows = 0;
    std::vector<float> coverage;  // rows x width, row by row
    double advance = 0;           // pen advance in pixels
};

/// How outlines are fitted to the pixel grid before rendering (FreeType's hinting targets).
enum class Hinting { None, Light, Full };

/// A scalable font at one pixel size, with its line metrics as a browser rounds them.
class FontFace {
public:
    /// Opens `file` (face 0) at `pixelSize` pixels per em. Fails when FreeType cannot read it or
    /// the font is not scalable.
    static Result<FontFace> Open(const std::filesystem::path& file, double pixelSize,
                                 Hinting hinting = Hinting::Light);

    FontFace(FontFace&&) noexcept;
    FontFace& operator=(FontFace&&) noexcept;
    ~FontFace();

    std::string familyName() const;
    std::string version() const;  // the version string of the name table, or empty
    double pixelSize() const { return m_pixelSize; }

    /// Whole pixels above the baseline, below it, and the line height (ascent + descent + gap).
    int ascent() const { return m_ascent; }
    int descent() const { return m_descent; }
    int lineHeight() const { return m_lineHeight; }

    /// Whether the font has a glyph of its own for `codePoint`.
    bool hasGlyph(char32_t codePoint) const;

    /// The rendered ink of `codePoint`. Fails when the font has no glyph for it or FreeType
    /// cannot render it.
    Result<GlyphInk> render(char32_t codePoint) const;

private:
    struct Handles;
    FontFace(std::unique_ptr<Handles> handles, double pixelSize, Hinting hinting);

    std::unique_ptr<Handles> m_handles;
    double m_pixelSize = 0;
    Hinting m_hinting = Hinting::Light;
    int m_ascent = 0;
    int m_descent = 0;
    int m_lineHeight = 0;
};

}  // namespace moza::tools
