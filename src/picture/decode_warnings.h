// DecodeWarnings: what Qt and its decoder libraries say while a picture decodes, collected
// instead of printed, and read for signs of a damaged file.
#pragma once

#include <string>
#include <string_view>

#include "picture/library_output.h"

namespace moza::picture {

/// True when decoder messages say the data ends early or is corrupt. Stray bytes between JPEG
/// segments are common in pictures that display fine and do not count.
bool SaysDamaged(std::string_view messages);

/// While it lives, messages that Qt logs on this thread (decoder warnings such as "Premature
/// end of JPEG file") and what decoder libraries print to standard error (libpng's "libpng error:
/// Read Error", see LibraryOutput) are collected here instead of printed. Qt messages from other
/// threads pass on as before. Several may live at once on different threads; the process's
/// message handler is Moza's only while at least one lives.
class DecodeWarnings {
public:
    DecodeWarnings();
    ~DecodeWarnings();
    DecodeWarnings(const DecodeWarnings&) = delete;
    DecodeWarnings& operator=(const DecodeWarnings&) = delete;

    /// The messages, joined by "; ". The first call ends the collecting of library output.
    const std::string& text();
    /// Whether they say the picture is damaged or cut short (see SaysDamaged).
    bool damaged() { return SaysDamaged(text()); }

    /// Appends one message (the handler calls it).
    void add(std::string_view message);

private:
    std::string m_text;
    LibraryOutput m_libraries;
    bool m_librariesRead = false;
    DecodeWarnings* m_outer = nullptr;  // an enclosing collector on this thread
};

}  // namespace moza::picture
