// AtomicFileWriter: files that appear whole or not at all, and copies made the same way.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "common/result.h"

namespace moza {

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

/// Copies `from` to `to`, replacing `to` only with a complete copy. On failure `to` is unchanged.
Status CopyFileWhole(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace moza
