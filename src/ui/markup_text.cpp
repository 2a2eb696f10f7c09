// MarkupDecoder: one pass over the markup bytes into a preallocated buffer, each distinct
// character decoded once.
#include "ui/markup_text.h"

#include <array>
#include <cassert>
#include <limits>

#include "convert/cp932.h"

namespace moza::ui {
namespace {

constexpr char16_t kNotDecoded = 0x0000;
constexpr char16_t kInvalid = 0xFFFF;  // never a character of code page 932
constexpr char16_t kReplacement = 0xFFFD;

// The UTF-16 character of one code page 932 byte sequence, or kInvalid.
char16_t decodeOne(std::string_view bytes) {
    const Result<std::string> utf8 = convert::Cp932ToUtf8(bytes);
    if (!utf8) return kInvalid;
    const QString text = QString::fromUtf8(utf8.value());
    if (text.size() != 1) return kInvalid;
    return text.front().unicode();
}

bool isLineBreak(char16_t c) { return c == u'\n' || c == u'\r' || c == 0x2029; }

}  // namespace

// Decoded characters by code: single bytes at their value, pairs at 256 + lead x 256 + trail.
class MarkupDecoder::Cache {
public:
    char16_t single(unsigned char byte) {
        const char bytes[1] = {static_cast<char>(byte)};
        return lookup(byte, std::string_view(bytes, 1));
    }
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

MarkupDecoder::MarkupDecoder(std::string cp932, qsizetype pieceLength)
    : m_bytes(std::move(cp932)), m_pieceLength(pieceLength), m_cache(std::make_unique<Cache>()) {}

MarkupDecoder::~MarkupDecoder() = default;

MarkupDisplay MarkupDecoder::next(qsizetype maxChars) {
    MarkupDisplay out;
    const std::size_t size = m_bytes.size();
    const std::size_t remaining = size - m_position;
    // Every byte gives at most one character, plus the added breaks.
    const std::size_t bytesAtMost = std::min<std::size_t>(remaining, static_cast<std::size_t>(maxChars) + 2);
    const std::size_t capacity = bytesAtMost + bytesAtMost / static_cast<std::size_t>(m_pieceLength) + 2;
    out.text.resize(static_cast<qsizetype>(capacity));
    char16_t* const begin = reinterpret_cast<char16_t*>(out.text.data());
    char16_t* write = begin;
    const auto* bytes = reinterpret_cast<const unsigned char*>(m_bytes.data());

    std::size_t i = m_position;
    while (i < size && (write - begin < maxChars || m_lastWasCr)) {
        assert(write - begin + 2 <= static_cast<qsizetype>(capacity));
        const unsigned char byte = bytes[i];
        char16_t c;
        if (byte < 0x80) {
            c = byte;
            ++i;
        } else if (convert::IsCp932LeadByte(byte) && i + 1 < size && (c = m_cache->pair(byte, bytes[i + 1])) != kInvalid) {
            i += 2;
        } else {
            c = m_cache->single(byte);
            if (c == kInvalid) c = kReplacement;
            ++i;
        }
        if (m_sinceBreak >= m_pieceLength && (c == u'<' || m_sinceBreak >= 2 * m_pieceLength) && !m_lastWasCr) {
            *write++ = u'\n';
            out.breakIsAdded.push_back(true);
            m_sinceBreak = 0;
        }
        if (isLineBreak(c)) {
            // CR LF is one line break to the text box: counted at the CR.
            if (!(c == u'\n' && m_lastWasCr)) out.breakIsAdded.push_back(false);
            m_sinceBreak = -1;
        }
        m_lastWasCr = (c == u'\r');
        *write++ = c;
        ++m_sinceBreak;
    }
    m_position = i;
    out.text.truncate(write - begin);
    return out;
}

MarkupDisplay MarkupDisplayText(std::string_view cp932, qsizetype pieceLength) {
    MarkupDecoder decoder{std::string(cp932), pieceLength};
    return decoder.next(std::numeric_limits<qsizetype>::max() / 4);
}

}  // namespace moza::ui
