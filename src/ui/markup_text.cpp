// MarkupDisplayText: a single pass over the markup bytes, with each distinct character decoded once.
#include "ui/markup_text.h"

#include <array>
#include <memory>

#include "convert/cp932.h"

namespace moza::ui {
namespace {

constexpr char16_t kNotDecoded = 0x0000;
constexpr char16_t kInvalid = 0xFFFF;  // never a character of code page 932

bool isLeadByte(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

// The UTF-16 character of one code page 932 byte sequence, or kInvalid.
char16_t decodeOne(std::string_view bytes) {
    const Result<std::string> utf8 = convert::Cp932ToUtf8(bytes);
    if (!utf8) return kInvalid;
    const QString text = QString::fromUtf8(utf8.value());
    if (text.size() != 1) return kInvalid;
    return text.front().unicode();
}

// Decoded characters by code: single bytes at their value, pairs at 256 + lead x 256 + trail.
class Cp932Cache {
public:
    char16_t single(unsigned char byte) { return lookup(byte, std::string_view(reinterpret_cast<const char*>(&byte), 1)); }
    char16_t pair(unsigned char lead, unsigned char trail) {
        const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        return lookup(256 + lead * 256 + trail, std::string_view(bytes, 2));
    }

private:
    char16_t lookup(int code, std::string_view bytes) {
        char16_t& slot = m_table[static_cast<std::size_t>(code)];
        if (slot == kNotDecoded) slot = decodeOne(bytes);
        return slot;
    }
    std::array<char16_t, 256 + 65536> m_table{};
};

class PieceWriter {
public:
    PieceWriter(MarkupDisplay& out, qsizetype pieceLength) : m_out(out), m_pieceLength(pieceLength) {}

    void put(char16_t c) {
        // Never between CR and LF: the text box would read the two as one line break.
        if (m_sinceBreak >= m_pieceLength && (c == u'<' || m_sinceBreak >= 2 * m_pieceLength) && !m_lastWasCr) {
            addBreak();
        }
        if (c == u'\n' && m_lastWasCr) {
            // CR LF is one line break to the text box: already counted at the CR.
        } else if (c == u'\n' || c == u'\r' || c == 0x2029) {
            m_out.breakIsAdded.push_back(false);
            m_sinceBreak = -1;
        }
        m_lastWasCr = (c == u'\r');
        m_out.text.append(QChar(c));
        ++m_sinceBreak;
    }

private:
    void addBreak() {
        m_out.text.append(u'\n');
        m_out.breakIsAdded.push_back(true);
        m_sinceBreak = 0;
        m_lastWasCr = false;
    }

    MarkupDisplay& m_out;
    qsizetype m_pieceLength;
    qsizetype m_sinceBreak = 0;
    bool m_lastWasCr = false;
};

}  // namespace

MarkupDisplay MarkupDisplayText(std::string_view cp932, qsizetype pieceLength) {
    MarkupDisplay out;
    out.text.reserve(static_cast<qsizetype>(cp932.size() + cp932.size() / static_cast<std::size_t>(pieceLength) + 1));
    auto cache = std::make_unique<Cp932Cache>();
    PieceWriter writer(out, pieceLength);
    const auto* bytes = reinterpret_cast<const unsigned char*>(cp932.data());
    const std::size_t size = cp932.size();
    for (std::size_t i = 0; i < size; ++i) {
        const unsigned char byte = bytes[i];
        if (byte < 0x80) {
            writer.put(byte);
            continue;
        }
        if (isLeadByte(byte) && i + 1 < size) {
            const char16_t c = cache->pair(byte, bytes[i + 1]);
            if (c != kInvalid) {
                writer.put(c);
                ++i;
                continue;
            }
        }
        const char16_t c = cache->single(byte);
        writer.put(c == kInvalid ? char16_t{0xFFFD} : c);
    }
    return out;
}

}  // namespace moza::ui
