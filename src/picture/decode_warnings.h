// DecodeWarnings: what Qt and its decoder libraries say while a picture decodes, collected
// instead of printed, and read for signs of a damaged file.
#pragma once

#include <string>
#include <string_view>

namespace moza::picture {

/// True when decoder messages say the data ends early or is corrupt. Stray bytes between JPEG
/// segments are common in pictures that display fine and do not count.
bool SaysDamaged(std::string_view messages);

/// While it lives, messages that Qt logs on this thread (decoder warnings such as "Premature
/// end of JPEG file" or "libpng error: Read Error") are collected here instead of printed.
/// Messages from other threads pass on as before. Several may live at once on different threads;
/// the process's message handler is Moza's only while at least one lives.
class DecodeWarnings {
public:
    DecodeWarnings();
    ~DecodeWarnings();
    DecodeWarnings(const DecodeWarnings&) = delete;
    DecodeWarnings& operator=(const DecodeWarnings&) = delete;

    /// The messages so far, joined by "; ".
    const std::string& text() const { return m_text; }
    /// Whether they say the picture is damaged or cut short (see SaysDamaged).
    bool damaged() const { return SaysDamaged(m_text); }

    /// Appends one message (the handler calls it).
    void add(std::string_view message);

private:
    std::string m_text;
    DecodeWarnings* m_outer = nullptr;  // an enclosing collector on this thread
};

}  // namespace moza::picture
