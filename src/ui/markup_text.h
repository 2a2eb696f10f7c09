// The markup as the markup box displays it: decoded from code page 932 and cut into short pieces.
#pragma once

#include <QString>
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

/// Decodes `cp932` (each byte sequence as code page 932 maps it; a byte that starts no valid
/// character becomes U+FFFD) and cuts it into pieces. A piece ends just before the first '<'
/// found once it holds `pieceLength` characters, or at 2 x `pieceLength` when there is none, and
/// never inside a character.
MarkupDisplay MarkupDisplayText(std::string_view cp932, qsizetype pieceLength = kMarkupPieceLength);

}  // namespace moza::ui
