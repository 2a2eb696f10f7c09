// AtomicFileWriter: files that appear whole or not at all, and copies made the same way.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "common/result.h"

namespace moza {

/// Writes a file the way a careful editor saves one: the bytes go to a hidden part file in the
/// destination's folder, which commit() renames over the destination, so the destination is
/// either as it was or the whole new file. The replacement keeps the old file's permission bits
/// (and owner, where the system allows). A writer destroyed without a successful commit()
/// removes its part file; part files are also removed when the program is interrupted (see
/// part_files.h).
///
/// Where a rename cannot work, the file is written in place once it is complete: when the
/// destination has other hard links (a rename would split them off) or its folder cannot be
/// written (the part file then goes to the system's temporary folder). A symbolic link is written
/// through, its target created when missing; a device or pipe (/dev/null, a FIFO) is written
/// directly. A destination the user may not write (a read-only file) is refused.
class AtomicFileWriter {
public:
    /// What to do when the destination exists.
    enum class Existing {
        Replace,  // replace it
        Keep,     // fail, naming it: for names made up by the program, never the user's choice
    };

    /// Opens the part file for `destination`. Fails, naming the destination, when its folder is
    /// missing or not a folder, a folder is in its way, it may not be written, or (Keep) it exists.
    static Result<AtomicFileWriter> open(const std::filesystem::path& destination,
                                         Existing existing = Existing::Replace);

    AtomicFileWriter(AtomicFileWriter&& other) noexcept;
    AtomicFileWriter& operator=(AtomicFileWriter&&) = delete;
    ~AtomicFileWriter();

    /// Appends bytes; false once any write has failed (the reason comes from commit()).
    bool write(std::string_view bytes);
    /// True once a write has failed.
    bool failed() const { return m_error != 0; }
    /// Puts the file in place. Fails, naming the destination, when a write failed ("the disk is
    /// full" for a full disk or quota), the destination cannot be replaced, or (Keep) it has come
    /// to exist meanwhile; the part file is removed and the destination is as it was, except
    /// when an in-place write fails part-way, which the message says.
    Status commit();

    /// How the file is put in place (for tests and notes).
    enum class Method {
        Rename,   // a part file beside the destination, renamed over it
        InPlace,  // a part file, then its bytes written over the destination
        Direct,   // straight into the destination (devices and pipes)
    };
    Method method() const { return m_method; }

private:
    AtomicFileWriter() = default;
    /// "cannot write '<named>': <what>", of `kind`, about `about` (the named file when empty).
    Error failure(const std::string& what, ErrorKind kind, const std::filesystem::path& about = {}) const;
    /// The failure when the temporary folder `folder`, needed because the destination's folder may
    /// not be written, cannot hold the part file.
    Error temporaryFolderFailure(const std::filesystem::path& folder, int error) const;
    /// Sets m_destination from the name given (a link's target) and returns its folder. Fails
    /// when the link cannot be followed or the folder is missing or no folder.
    Result<std::filesystem::path> findDestination();
    /// Chooses how the file is written and opens it (a part file, or the destination itself);
    /// `status` is the destination's. Fails with the system's reason.
    Status openFile(const std::filesystem::path& folder, const std::filesystem::file_status& status);
    Status putInPlace();
    void discard();

    std::filesystem::path m_destination;  // the file that gets the bytes (a link's target)
    std::filesystem::path m_named;        // the name the caller gave, for messages
    std::filesystem::path m_partPath;     // empty for Direct
    Method m_method = Method::Rename;
    Existing m_existing = Existing::Replace;
    int m_fd = -1;
    int m_error = 0;  // errno of the first failed write
    bool m_done = true;
};

/// Copies `from` to `to`, replacing `to` only with a complete copy. On failure `to` is unchanged.
/// Fails naming `from` when it cannot be read, `to` when it cannot be written.
Status CopyFileWhole(const std::filesystem::path& from, const std::filesystem::path& to);

/// The message for a failed write: "the disk is full" for a full disk or quota, else the system's.
std::string WriteErrorText(int error);

}  // namespace moza
