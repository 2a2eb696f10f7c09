// The markup as the markup box displays it: decoded from code page 932 and cut into short pieces.
#pragma once

#include <QString>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace moza::ui {

/// Displayed text: the decoded markup with a line break after every piece of about
/// `pieceLength` characters, so that the text box lays out short paragraphs instead of one
/// enormous line. `breakIsAdded` tells, for every line break in `text` in order (as the text
/// box counts them: LF, CR, CR LF and U+2029 are one each), whether it was added here (true)
/// or is part of the markup (false).
struct MarkupDisplay {
    QString text;
    std::vector<bool> breakIsAdded;
};

/// The markup's usual piece length: a few thousand characters lay out quickly.
inline constexpr qsizetype kMarkupPieceLength = 2048;

/// Decodes markup bytes a part at a time. Each byte sequence is decoded as code page 932 maps
/// it, by the core's conversion (CellDecoder in art/page_font.h says why the art view differs);
/// a byte that starts no valid character becomes U+FFFD. A piece ends just before the first
/// '<' found once it holds `pieceLength` characters, or at 2 x `pieceLength` when there is none,
/// and never inside a character or between CR and LF. Parts joined in order give exactly the
/// text that decoding everything at once gives.
class MarkupDecoder {
public:
    explicit MarkupDecoder(std::string cp932, qsizetype pieceLength = kMarkupPieceLength);
    ~MarkupDecoder();
    MarkupDecoder(const MarkupDecoder&) = delete;
    MarkupDecoder& operator=(const MarkupDecoder&) = delete;

    /// The next part, of about `maxChars` characters (a few more at most); empty at the end.
    /// A part never ends between CR and LF.
    MarkupDisplay next(qsizetype maxChars);
    bool atEnd() const { return m_position >= m_bytes.size(); }

private:
    class Cache;

    std::string m_bytes;
    std::size_t m_position = 0;
    qsizetype m_pieceLength;
    qsizetype m_sinceBreak = 0;
    bool m_lastWasCr = false;
    std::unique_ptr<Cache> m_cache;
};

/// The whole markup decoded and cut into pieces at once.
MarkupDisplay MarkupDisplayText(std::string_view cp932, qsizetype pieceLength = kMarkupPieceLength);

}  // namespace moza::ui
