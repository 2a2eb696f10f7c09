// LibraryOutput: what decoder libraries print straight to standard error (libpng's "libpng error:
// Read Error", libtiff's complaints) while a picture decodes, taken off the terminal and kept for
// that picture's message.
#pragma once

#include <cstdio>
#include <string>

namespace moza::picture {

/// Whether this build takes decoder output off standard error (see LibraryOutput).
bool CapturesLibraryOutput();

/// A stream on the program's own standard error, for its messages: while a picture decodes, file
/// descriptor 2 leads elsewhere. Call it once at start, before any decode; later calls return
/// the same stream.
std::FILE* ProgramStandardError();

/// While it is open, whatever the process writes to file descriptor 2 is collected here instead
/// of printed. Windows of several threads may overlap: then each collects all that is written
/// while it is open. Not on Windows, and not in sanitizer builds (whose reports must reach the
/// terminal): there it collects nothing and changes nothing.
class LibraryOutput {
public:
    LibraryOutput();
    ~LibraryOutput();
    LibraryOutput(const LibraryOutput&) = delete;
    LibraryOutput& operator=(const LibraryOutput&) = delete;

    /// Closes the window (if still open) and returns everything written while it was open, one
    /// line per line, without the line ends.
    std::string finish();

    /// Appends a line (the collector calls it).
    void add(const std::string& line);

private:
    std::string m_text;
    bool m_open = false;
};

}  // namespace moza::picture
