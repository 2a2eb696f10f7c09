// Page files: their names from the clock and the title, their bytes, atomic writing and copying.
#pragma once

#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "common/result.h"

namespace moza::convert {

/// "20261205_184607_cat.html": the local date and time ("0000" and "00" pieces) and the title.
std::string PageFileName(const std::tm& localTime, std::string_view title);

/// Fails when a title cannot go into a file name: it holds \ / : * ? " < > | or a control
/// character. The message names the character.
Status CheckTitleForFileName(std::string_view titleUtf8);

/// Fails when a title holds a line break (CR or LF): a page is a single line.
Status CheckTitleForPage(std::string_view titleUtf8);

/// The page file's path in `tempFolder` for the title at `localTime`, after CheckTitleForFileName.
Result<std::filesystem::path> PageFilePath(const std::filesystem::path& tempFolder, const std::tm& localTime,
                                           std::string_view titleUtf8);

/// The local date and time now.
std::tm LocalTimeNow();

/// Writes a file so that it appears whole or not at all: the bytes go to a hidden file in the
/// destination's folder, which commit() renames over the destination. A writer destroyed
/// without a successful commit() removes its hidden file and leaves any earlier file intact.
/// A symbolic link is written through; a device or pipe (/dev/null, a FIFO) is written directly.
class AtomicFileWriter {
public:
    /// Opens the hidden file beside `destination`. Fails when the folder is missing or unwritable.
    static Result<AtomicFileWriter> open(const std::filesystem::path& destination);

    AtomicFileWriter(AtomicFileWriter&& other) noexcept;
    AtomicFileWriter& operator=(AtomicFileWriter&&) = delete;
    ~AtomicFileWriter();

    /// Appends bytes; false once any write has failed (the reason comes from commit()).
    bool write(std::string_view bytes);
    /// True once a write has failed.
    bool failed() const { return m_failed; }
    /// Closes the file and moves it into place. Fails (and removes the hidden file) when any
    /// write failed, the disk is full, or the destination cannot be replaced.
    Status commit();

private:
    AtomicFileWriter(std::filesystem::path destination, std::filesystem::path partPath);
    Error failure(const std::string& what) const;
    void discard();

    std::filesystem::path m_destination;
    std::filesystem::path m_partPath;
    std::ofstream m_stream;
    bool m_failed = false;
    bool m_done = false;
};

/// Writes a page file holding the page document of `tableHtml` titled `titleCp932`, whole or
/// not at all (see AtomicFileWriter).
Status WritePageFile(const std::filesystem::path& path, std::string_view titleCp932, std::string_view tableHtml);

/// Copies `from` to `to`, replacing `to` only with a complete copy. On failure `to` is unchanged.
Status CopyPageFile(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace moza::convert
