// The page font: the text of a cell's character code, the font at any size, drawing and measuring text.
#pragma once

#include <QFont>
#include <QPainter>
#include <QPointF>
#include <QRawFont>
#include <QString>
#include <QStringDecoder>
#include <cstdint>
#include <vector>

namespace moza::ui {

/// The text a browser shows for a cell holding the character `code` (code page 932 bytes, decoded
/// as Shift_JIS): without U+0000, which a browser drops, and empty when only spaces remain, which
/// a browser collapses. `decoder` comes from CellDecoder().
QString CellText(std::uint16_t code, QStringDecoder& decoder);

/// The page font's file in the program's data folder (data/fonts/ipag.ttf), where a build ships
/// one: the systems without IPAGothic (Windows) then draw the same glyphs as the rest.
inline constexpr char kShippedGlyphFont[] = "/fonts/ipag.ttf";

/// Registers the page font shipped in `dataFolder`, when there is one, for this process. Returns
/// whether the page font (shipped or the system's) can be drawn; false when neither is there.
bool RegisterGlyphFont(const QString& dataFolder);

/// A decoder for the cells' code page (code page 932, or Shift_JIS where that is all there is);
/// invalid where Qt has neither (built without ICU), which CellText then handles.
///
/// Code page 932 is decoded for display in three ways, each for a reason:
/// - the art view's cells (CellText) with Qt's own decoder, "windows-31j" from ICU, because it
///   must show what a browser shows, and browsers decode Shift_JIS pages by the same table;
/// - where Qt has no ICU (the Windows build), the same cells through the core's conversion
///   (convert::Cp932ToUtf8), the only code page 932 table there is then;
/// - the markup box (MarkupDecoder) through the core's conversion on every system: it shows the
///   markup as text, decoded by the conversion that wrote the page's title, one code at a time
///   into a cache, and so runs the same with or without ICU.
QStringDecoder CellDecoder();

/// The page font (IPAGothic) at exactly `pixelSize` pixels, with only vertical hinting as
/// Chromium draws it, or (`hinted` false) unhinted, which draws faster.
QRawFont GlyphRawFont(double pixelSize, bool hinted = true);

/// The page font for text the page font lacks characters for: Qt then falls back to another
/// font, as a browser does. Its size is in whole pixels.
QFont GlyphFont(double pixelSize);

/// Draws `text` with its pen at `pen` (the left end of its baseline) in the painter's pen colour:
/// glyph by glyph from `font`, or with GlyphFont's fallback when `font` lacks a character.
void DrawCellText(QPainter& painter, QPointF pen, const QString& text, const QRawFont& font);

/// The page font's advance widths in font units, read from its tables: exact where glyph
/// metrics at a text size come rounded, and without loading any glyph.
class DesignAdvances {
public:
    DesignAdvances();

    /// The width of `text` at `pixelSize` pixels, as a browser lays it out before rounding to its
    /// units; measured by Qt (with its fallback fonts) when the page font lacks a character.
    double textWidth(const QString& text, double pixelSize) const;

private:
    QRawFont m_font;
    double m_unitsPerEm = 0;
    std::vector<quint16> m_advances;  // by glyph index; empty when the tables could not be read
};

}  // namespace moza::ui
