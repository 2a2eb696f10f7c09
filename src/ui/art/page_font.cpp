// The page font: cells' texts decoded like a browser, the font at exact sizes, advances from its tables.
#include "ui/art/page_font.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QtEndian>
#include <algorithm>
#include <cmath>

#include "convert/cp932.h"
#include "glyph/glyph_font.h"
#include "ui/art/art_layout.h"

namespace moza::ui {
namespace {

bool isCollapsibleSpace(QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\f' || c == u'\r'; }

/// The big-endian 16-bit number at `offset` of `table`, or 0 past its end.
quint16 readUint16(const QByteArray& table, qsizetype offset) {
    if (offset < 0 || offset + 2 > table.size()) return 0;
    return qFromBigEndian<quint16>(table.constData() + offset);
}

}  // namespace

QStringDecoder CellDecoder() {
    // Stateless: every cell decodes on its own, a lone lead byte at its end included.
    QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
    if (!decoder.isValid()) decoder = QStringDecoder("Shift_JIS", QStringConverter::Flag::Stateless);
    return decoder;  // invalid where Qt has neither: CellText then converts through the core
}

QString CellText(std::uint16_t code, QStringDecoder& decoder) {
    char bytes[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 255)};
    const QByteArrayView view = code > 255 ? QByteArrayView(bytes, 2) : QByteArrayView(bytes + 1, 1);
    QString text;
    if (decoder.isValid()) {
        text = decoder.decode(view);
        // The decoder marks bytes that are no character with U+001A; a browser shows U+FFFD.
        if (!view.contains('\x1A')) text.replace(QChar(0x1A), QChar(QChar::ReplacementCharacter));
    } else {
        // A Qt without ICU (the Windows build) has no code page 932: the system's conversion.
        const Result<std::string> utf8 = convert::Cp932ToUtf8(std::string_view(view.data(), static_cast<std::size_t>(view.size())));
        text = utf8 ? QString::fromStdString(utf8.value()) : QString(QChar(QChar::ReplacementCharacter));
    }
    text.remove(QChar(0));
    if (std::all_of(text.cbegin(), text.cend(), isCollapsibleSpace)) return {};
    return text;
}

QFont GlyphFont(double pixelSize) {
    QFont font(QString::fromLatin1(glyph::kGlyphFontFamily));
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize))));
    font.setHintingPreference(QFont::PreferVerticalHinting);
    font.setKerning(false);
    return font;
}

bool RegisterGlyphFont(const QString& dataFolder) {
    const QString shipped = dataFolder + QString::fromLatin1(kShippedGlyphFont);
    if (QFileInfo::exists(shipped)) QFontDatabase::addApplicationFont(shipped);
    return QFontDatabase::families().contains(QString::fromLatin1(glyph::kGlyphFontFamily));
}

QRawFont GlyphRawFont(double pixelSize, bool hinted) {
    // Drawn through glyph runs at an exact size: text drawn with a QFont is sized in whole pixels
    // (or points at the device's resolution), and 8 pt is 10 2/3 pixels.
    QFont base = GlyphFont(ArtLayout::kGlyphPixels);
    if (!hinted) base.setHintingPreference(QFont::PreferNoHinting);
    QRawFont font = QRawFont::fromFont(base);
    font.setPixelSize(pixelSize);
    return font;
}

void DrawCellText(QPainter& painter, QPointF pen, const QString& text, const QRawFont& font) {
    const QList<quint32> glyphs = font.glyphIndexesForString(text);
    if (glyphs.isEmpty() || glyphs.contains(0u)) {
        painter.setFont(GlyphFont(font.pixelSize()));
        painter.drawText(pen, text);
        return;
    }
    const QList<QPointF> advances = font.advancesForGlyphIndexes(glyphs);
    QList<QPointF> positions;
    QPointF at;
    for (const QPointF& advance : advances) {
        positions.append(at);
        at += advance;
    }
    QGlyphRun run;
    run.setRawFont(font);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    painter.drawGlyphRun(pen, run);
}

DesignAdvances::DesignAdvances() : m_font(GlyphRawFont(ArtLayout::kGlyphPixels, false)) {
    // head: unitsPerEm at 18; hhea: numberOfHMetrics at 34; hmtx: that many (advance, bearing)
    // pairs, the last advance standing for every later glyph.
    const QByteArray head = m_font.fontTable("head");
    const QByteArray hhea = m_font.fontTable("hhea");
    const QByteArray hmtx = m_font.fontTable("hmtx");
    m_unitsPerEm = readUint16(head, 18);
    const quint16 metrics = readUint16(hhea, 34);
    if (m_unitsPerEm <= 0 || metrics == 0 || hmtx.size() < 4 * static_cast<qsizetype>(metrics)) return;
    m_advances.resize(metrics);
    for (quint16 i = 0; i < metrics; ++i) m_advances[i] = readUint16(hmtx, 4 * static_cast<qsizetype>(i));
}

double DesignAdvances::textWidth(const QString& text, double pixelSize) const {
    const QList<quint32> glyphs = m_font.glyphIndexesForString(text);
    if (glyphs.isEmpty() || glyphs.contains(0u) || m_advances.empty()) {
        return QFontMetricsF(GlyphFont(pixelSize)).horizontalAdvance(text);
    }
    double units = 0;
    for (const quint32 glyph : glyphs) units += m_advances[std::min<std::size_t>(glyph, m_advances.size() - 1)];
    return units * pixelSize / m_unitsPerEm;
}

}  // namespace moza::ui
