// ArtPage: reading the grid, naming its characters, measuring them, and inking the table.
#include "ui/art/art_page.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>
#include <cmath>

namespace moza::ui {
namespace {

constexpr std::int32_t kUnseen = -2;
constexpr std::int32_t kNoInk = -1;

/// Gives every code of the grid a glyph number (or kNoInk) and collects the texts drawn.
std::vector<QString> numberGlyphs(const convert::PageGrid& grid, std::vector<std::int32_t>& glyphOfCode) {
    std::vector<QString> texts;
    glyphOfCode.assign(65536, kUnseen);
    QStringDecoder decoder = CellDecoder();
    for (const std::uint16_t code : grid.codes) {
        std::int32_t& glyph = glyphOfCode[code];
        if (glyph != kUnseen) continue;
        QString text = CellText(code, decoder);
        if (text.isEmpty()) {
            glyph = kNoInk;
        } else {
            glyph = static_cast<std::int32_t>(texts.size());
            texts.push_back(std::move(text));
        }
    }
    std::replace(glyphOfCode.begin(), glyphOfCode.end(), kUnseen, kNoInk);
    return texts;
}

/// Each column's widest character, rounded down to 64ths as the browser measures text.
std::vector<double> columnMinWidths(const convert::PageGrid& grid, const std::vector<std::int32_t>& glyphOfCode,
                                    const std::vector<QString>& texts) {
    const DesignAdvances advances;
    std::vector<double> advance(texts.size());
    for (std::size_t g = 0; g < texts.size(); ++g) advance[g] = FloorToLayoutUnit(advances.textWidth(texts[g], ArtLayout::kGlyphPixels));
    std::vector<double> widths(static_cast<std::size_t>(grid.columns), 0.0);
    for (int r = 0; r < grid.rows; ++r) {
        for (int c = 0; c < grid.columns; ++c) {
            const std::int32_t glyph = glyphOfCode[grid.codes[grid.indexOf(r, c)]];
            if (glyph >= 0) widths[static_cast<std::size_t>(c)] = std::max(widths[static_cast<std::size_t>(c)], advance[static_cast<std::size_t>(glyph)]);
        }
    }
    return widths;
}

/// The coverage of every character of the page, measured from unhinted masks (faster to draw; the
/// ink from afar does not show hinting). Characters are measured once per run of the program.
std::vector<InkCoverage> measureCoverage(const ArtPage& page, double cellWidth) {
    static std::mutex mutex;
    static std::unordered_map<std::uint32_t, InkCoverage> known;  // by code and 64ths of cell width
    std::vector<InkCoverage> coverage(page.texts->size());
    std::vector<std::uint16_t> codeOf(page.texts->size());
    for (std::size_t code = 0; code < page.glyphOfCode.size(); ++code) {
        if (page.glyphOfCode[code] >= 0) codeOf[static_cast<std::size_t>(page.glyphOfCode[code])] = static_cast<std::uint16_t>(code);
    }
    const auto widthKey = static_cast<std::uint32_t>(std::lround(cellWidth * 64)) << 16;
    std::vector<std::uint8_t> measured(coverage.size(), 0);
    {
        std::lock_guard lock(mutex);
        for (std::size_t g = 0; g < coverage.size(); ++g) {
            const auto found = known.find(widthKey | codeOf[g]);
            if (found == known.end()) continue;
            coverage[g] = found->second;
            measured[g] = 1;
        }
    }
    GlyphMasks masks(page.texts, ArtLayout::kGlyphPixels, false, false);
    std::vector<int> unmeasured;
    for (std::size_t g = 0; g < coverage.size(); ++g) {
        if (measured[g] == 0) unmeasured.push_back(static_cast<int>(g));
    }
    masks.draw(unmeasured);
    std::lock_guard lock(mutex);
    for (const int g : unmeasured) {
        coverage[static_cast<std::size_t>(g)] = CoverageOf(masks.mask(g), cellWidth);
        known.emplace(widthKey | codeOf[static_cast<std::size_t>(g)], coverage[static_cast<std::size_t>(g)]);
    }
    return coverage;
}

/// The overlap of [a0, a1) and [b0, b1).
double overlap(double a0, double a1, double b0, double b1) { return std::max(0.0, std::min(a1, b1) - std::max(a0, b0)); }

}  // namespace

InkCoverage CoverageOf(const GlyphMask& mask, double width) {
    const double height = ArtLayout::kRowPitch;
    std::array<double, 9> ink{};
    for (int y = 0; y < mask.alpha.height(); ++y) {
        const uchar* alpha = mask.alpha.constScanLine(y);
        const double top = ArtLayout::kBaseline + mask.offset.y() + y;
        for (int x = 0; x < mask.alpha.width(); ++x) {
            if (alpha[x] == 0) continue;
            const double left = mask.offset.x() + x;
            for (int part = 0; part < 9; ++part) {
                const double partLeft = width * (part % 3) / 3, partTop = height * (part / 3) / 3;
                ink[static_cast<std::size_t>(part)] += alpha[x] * overlap(left, left + 1, partLeft, partLeft + width / 3) *
                                                       overlap(top, top + 1, partTop, partTop + height / 3);
            }
        }
    }
    InkCoverage coverage{};
    const double partArea = width / 3 * height / 3;
    for (std::size_t part = 0; part < 9; ++part) {
        coverage[part] = static_cast<std::uint8_t>(std::clamp(std::lround(ink[part] / partArea), 0L, 255L));
    }
    return coverage;
}

std::size_t ArtPage::memoryBytes() const {
    return grid.colors.capacity() * sizeof(std::uint32_t) + grid.codes.capacity() * sizeof(std::uint16_t) +
           layout.columnLefts.capacity() * sizeof(double) + glyphOfCode.capacity() * sizeof(std::int32_t) + ink.memoryBytes();
}

void PrepareArtDrawing() {
    const DesignAdvances advances;
    (void)advances.textWidth(QStringLiteral("\u3042"), ArtLayout::kGlyphPixels);
    auto texts = std::make_shared<const std::vector<QString>>(std::vector<QString>{QStringLiteral("\u3042")});
    for (const bool hinted : {false, true}) GlyphMasks(texts, ArtLayout::kGlyphPixels, false, hinted).drawAll(false);
}

Result<LoadedArtPage> LoadArtPage(const std::filesystem::path& path) {
    Result<convert::PageGrid> grid = convert::ReadPageFile(path);
    if (!grid) return grid.error();
    auto page = std::make_shared<ArtPage>();
    page->path = path;
    page->grid = std::move(grid).value();
    auto texts = std::make_shared<std::vector<QString>>(numberGlyphs(page->grid, page->glyphOfCode));
    page->texts = texts;
    page->layout = LayOutPage(columnMinWidths(page->grid, page->glyphOfCode, *texts), page->grid.rows);
    const double cellWidth = page->layout.columns() > 0 ? page->layout.tableWidth() / page->layout.columns() : 0.0;
    page->coverage = measureCoverage(*page, cellWidth);

    Result<InkPyramid> ink = InkPyramid::Build(page->grid, page->glyphOfCode, page->coverage);
    if (!ink) return InContext(path.string() + ": ", ink.error(), path);
    page->ink = std::move(ink).value();
    // The masks at 1:1 are drawn when first needed (or all at once off this thread).
    auto masks = std::make_shared<GlyphMasks>(texts, ArtLayout::kGlyphPixels, true);
    return LoadedArtPage{std::move(page), std::move(masks)};
}

}  // namespace moza::ui
