// AtomicFileWriter: a part file written with plain system calls, then renamed into place or,
// where a rename would change the file's identity, copied over it once complete.
#include "common/atomic_file_writer.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <mutex>
#include <set>
#include <system_error>

#include "common/file_text.h"
#include "common/part_files.h"

#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/xattr.h>
#endif
#endif

namespace moza {
namespace {

namespace fs = std::filesystem;

// A part file this old whose writer is gone was left by a killed run.
constexpr std::chrono::minutes kStalePartAge{10};

/// Where a chain of symbolic links ends; that file need not exist.
Result<fs::path> linkTarget(const fs::path& link) {
    fs::path current = link;
    for (int depth = 0; depth < 40; ++depth) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(current, ec))) return current;
        const fs::path next = fs::read_symlink(current, ec);
        if (ec) return Error{ec.message()};
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return Error{SystemErrorText(ELOOP)};
}

/// The temporary folder the environment names, for a message when it cannot be used.
fs::path temporaryFolderName() {
    for (const char* variable : {"TMPDIR", "TMP", "TEMP", "TEMPDIR"}) {
        if (const char* value = std::getenv(variable); value != nullptr && *value != '\0') return value;
    }
    return "/tmp";
}

/// Sweeps each folder for stale part files once per run.
void sweepOnce(const fs::path& folder) {
    static std::mutex mutex;
    static std::set<fs::path> swept;
    std::lock_guard lock(mutex);
    if (swept.insert(folder).second) RemoveStalePartFiles(folder, kStalePartAge);
}

#ifdef _WIN32
int openNew(const fs::path& path, bool) {
    return _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}
int openExisting(const fs::path& path) { return _wopen(path.c_str(), _O_WRONLY | _O_BINARY); }
int closeFile(int fd) { return _close(fd); }
long long writeSome(int fd, const char* data, std::size_t size) {
    return _write(fd, data, static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30)));
}
bool mayWrite(const fs::path&) { return true; }
bool needsInPlace(const fs::path&) { return false; }
bool keepAccess(int, const fs::path&) { return true; }
int lockForWriting(int) { return 0; }
int moveIntoPlace(const fs::path& part, const fs::path& destination, bool replace) {
    if (MoveFileExW(part.c_str(), destination.c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0)) return 0;
    return GetLastError() == ERROR_ALREADY_EXISTS || GetLastError() == ERROR_FILE_EXISTS ? EEXIST : EACCES;
}
#else
/// A new file; one that is to replace another is readable by its owner only until it has the
/// other's permissions, so no one can open it who could not open the other.
int openNew(const fs::path& path, bool replacing) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, replacing ? 0600 : 0666);
}
int openExisting(const fs::path& path) { return ::open(path.c_str(), O_WRONLY | O_CLOEXEC); }
int closeFile(int fd) { return ::close(fd); }
long long writeSome(int fd, const char* data, std::size_t size) { return ::write(fd, data, size); }
/// Whether the user may write the file, as the shell decides before writing it.
bool mayWrite(const fs::path& path) { return ::access(path.c_str(), W_OK) == 0; }
/// Whether a rename would change the file: it has other names, or its folder cannot be written.
bool needsInPlace(const fs::path& path) {
    struct stat info {};
    const fs::path folder = path.parent_path().empty() ? fs::path(".") : path.parent_path();
    return (::stat(path.c_str(), &info) == 0 && info.st_nlink > 1) || ::access(folder.c_str(), W_OK | X_OK) != 0;
}
/// Gives `to` the extended attributes of `from`, among them its access control list; false when
/// one cannot be read or given.
bool copyAttributes(const fs::path& from, int to) {
#ifdef __linux__
    std::string names;
    for (ssize_t size = ::listxattr(from.c_str(), nullptr, 0);; size = ::listxattr(from.c_str(), nullptr, 0)) {
        if (size < 0) return errno == ENOTSUP;  // a file system without them
        names.resize(static_cast<std::size_t>(size));
        size = ::listxattr(from.c_str(), names.data(), names.size());
        if (size >= 0) {
            names.resize(static_cast<std::size_t>(size));
            break;
        }
        if (errno != ERANGE) return false;  // ERANGE: one was added meanwhile
    }
    for (std::size_t at = 0; at < names.size(); at = names.find('\0', at) + 1) {
        const char* name = names.c_str() + at;
        const ssize_t size = ::getxattr(from.c_str(), name, nullptr, 0);
        std::string value(static_cast<std::size_t>(std::max<ssize_t>(size, 0)), '\0');
        if (size < 0 || ::getxattr(from.c_str(), name, value.data(), value.size()) != size ||
            ::fsetxattr(to, name, value.data(), value.size(), 0) != 0) {
            return false;
        }
    }
#else
    (void)from;
    (void)to;
#endif
    return true;
}
/// Gives the part file the replaced file's owner, group, permission bits and extended attributes
/// (its access control list among them); false when any of them cannot be given, so that a
/// renamed replacement would grant someone access the old file did not.
bool keepAccess(int fd, const fs::path& replaced) {
    struct stat info {};
    if (::stat(replaced.c_str(), &info) != 0) return true;  // gone: nothing left to keep
    return ::fchown(fd, info.st_uid, info.st_gid) == 0 && ::fchmod(fd, info.st_mode & 07777) == 0 &&
           copyAttributes(replaced, fd);
}
/// Waits until no other program writes the file in place; the errno of a failure, or 0.
int lockForWriting(int fd) {
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) return errno;
    }
    return 0;
}
int moveIntoPlace(const fs::path& part, const fs::path& destination, bool replace) {
    if (replace) return ::rename(part.c_str(), destination.c_str()) == 0 ? 0 : errno;
    // A hard link fails when the name exists, so a file another run has just made is never lost.
    if (::link(part.c_str(), destination.c_str()) == 0) {
        ::unlink(part.c_str());
        return 0;
    }
    return errno;
}
#endif

/// Writes all of `bytes`; the errno of the failure, or 0.
int writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const long long written = writeSome(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return written < 0 ? errno : EIO;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

}  // namespace

std::string WriteErrorText(int error) {
    if (error == ENOSPC) return "the disk is full";
#ifdef EDQUOT
    if (error == EDQUOT) return "the disk is full (the disk quota is used up)";
#endif
    return SystemErrorText(error);
}

AtomicFileWriter::AtomicFileWriter(AtomicFileWriter&& other) noexcept
    : m_destination(std::move(other.m_destination)),
      m_named(std::move(other.m_named)),
      m_partPath(std::move(other.m_partPath)),
      m_method(other.m_method),
      m_existing(other.m_existing),
      m_fd(other.m_fd),
      m_error(other.m_error),
      m_done(other.m_done) {
    other.m_fd = -1;
    other.m_done = true;
}

AtomicFileWriter::~AtomicFileWriter() {
    if (!m_done) discard();
}

Result<AtomicFileWriter> AtomicFileWriter::open(const fs::path& destination, Existing existing) {
    AtomicFileWriter writer;
    writer.m_named = destination;
    writer.m_existing = existing;
    Result<fs::path> folder = writer.findDestination();
    if (!folder) return folder.error();
    std::error_code ec;
    const fs::file_status status = fs::status(writer.m_destination, ec);
    const bool exists = fs::exists(status);
    if (exists && fs::is_directory(status))
        return writer.failure("a folder of that name is in the way", ErrorKind::IsAFolder);
    if (exists && existing == Existing::Keep) return writer.failure("the file already exists", ErrorKind::FileExists);
    if (exists && !mayWrite(writer.m_destination)) {
        return writer.failure(SystemErrorText(EACCES), ErrorKind::PermissionDenied);
    }
    if (Status opened = writer.openFile(folder.value(), status); !opened) return opened.error();
    writer.m_done = false;
    return writer;
}

Result<fs::path> AtomicFileWriter::findDestination() {
    Result<fs::path> target = linkTarget(m_named);
    if (!target) return failure(target.error().message, ErrorKind::SystemError);
    m_destination = target.value();
    std::error_code ec;
    const fs::file_status named = fs::status(m_named, ec);
    if (!fs::exists(fs::status(m_destination, ec)) && fs::exists(named) && !fs::is_regular_file(named) &&
        !fs::is_directory(named)) {
        // A link that names no file, yet leads to a pipe or device (/dev/stdout to "pipe:[…]"):
        // the name opens it, as it does for the shell.
        m_destination = m_named;
    }
    fs::path folder = m_destination.parent_path().empty() ? "." : m_destination.parent_path();
    // "temp/" names the same folder as "temp", but a file of that name would read as missing.
    if (!folder.has_filename() && folder.has_relative_path()) folder = folder.parent_path();
    const fs::file_status folderStatus = fs::status(folder, ec);
    if (!fs::exists(folderStatus)) {
        return failure("the folder " + Quoted(folder) + " does not exist", ErrorKind::FolderMissing, m_destination);
    }
    if (!fs::is_directory(folderStatus))
        return failure(Quoted(folder) + " is not a folder", ErrorKind::NotAFolder, folder);
    return folder;
}

Status AtomicFileWriter::openFile(const fs::path& folder, const fs::file_status& status) {
    const bool exists = fs::exists(status);
    std::error_code ec;
    fs::path partFolder = folder;
    if (exists && !fs::is_regular_file(status)) {
        m_method = Method::Direct;  // a device or pipe: renaming over it would replace it
    } else if (exists && needsInPlace(m_destination)) {
        m_method = Method::InPlace;
        if (!mayWrite(folder)) partFolder = fs::temp_directory_path(ec);
        if (ec) return temporaryFolderFailure(temporaryFolderName(), ec.value());
    }
    errno = 0;
    if (m_method == Method::Direct) {
        m_fd = openExisting(m_destination);
    } else {
        sweepOnce(partFolder);
        m_partPath = partFolder / NewPartFileName();
        RegisterPartFile(m_partPath);  // before it exists: an interrupt may come at once
        m_fd = openNew(m_partPath, exists);
    }
    if (m_fd < 0) {
        const int error = errno != 0 ? errno : EACCES;
        if (!m_partPath.empty()) UnregisterPartFile(m_partPath);
        if (partFolder != folder) return temporaryFolderFailure(partFolder, error);
        return failure(SystemErrorText(error), KindOfSystemError(error));
    }
    // What a renamed file cannot carry over, it must not lose: the old file is then written over.
    if (exists && m_method == Method::Rename && !keepAccess(m_fd, m_destination)) m_method = Method::InPlace;
    return success();
}

bool AtomicFileWriter::write(std::string_view bytes) {
    if (m_error == 0) m_error = writeAll(m_fd, bytes);
    return m_error == 0;
}

Status AtomicFileWriter::commit() {
    errno = 0;
    if (closeFile(m_fd) != 0 && m_error == 0) m_error = errno != 0 ? errno : EIO;
    m_fd = -1;
    if (m_error != 0) {
        const Error error = failure(WriteErrorText(m_error), KindOfSystemError(m_error));
        discard();
        return error;
    }
    Status placed = success();
    if (m_method == Method::Rename) {
        const int moved = moveIntoPlace(m_partPath, m_destination, m_existing == Existing::Replace);
        if (moved != 0) {
            placed = moved == EEXIST ? failure("the file already exists", ErrorKind::FileExists)
                                     : failure(SystemErrorText(moved), KindOfSystemError(moved));
        }
    } else if (m_method == Method::InPlace) {
        placed = putInPlace();
    }
    discard();  // the part file, where one is left
    return placed;
}

namespace {

/// Room for `size` bytes in the file open as `out`, so that a full disk is found before its old
/// bytes are touched. Returns ENOSPC or EDQUOT when there is none; 0 otherwise, also where the
/// system cannot reserve room ahead (the writes then find a full disk).
int reserveRoom([[maybe_unused]] int out, [[maybe_unused]] std::uintmax_t size) {
#ifndef _WIN32
    const int reserved = ::posix_fallocate(out, 0, static_cast<off_t>(size));
    if (reserved == ENOSPC) return reserved;
#ifdef EDQUOT
    if (reserved == EDQUOT) return reserved;
#endif
#endif
    return 0;
}

/// Copies what is left of `part` into the file open as `out`; returns 0 or the error.
int copyAll(std::ifstream& part, int out) {
    std::string buffer(1u << 20, '\0');
    int error = 0;
    while (error == 0 && part) {
        part.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const auto got = static_cast<std::size_t>(part.gcount());
        if (got > 0) error = writeAll(out, std::string_view(buffer.data(), got));
    }
    if (error == 0 && part.bad()) error = EIO;
    return error;
}

}  // namespace

Status AtomicFileWriter::putInPlace() {
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(m_partPath, ec);
    std::ifstream part(m_partPath, std::ios::binary);
    errno = 0;
    const int out = openExisting(m_destination);
    if (ec || !part || out < 0) {
        const int error = errno != 0 ? errno : EIO;
        return failure(SystemErrorText(error), KindOfSystemError(error));
    }
    // Two runs writing over one file take turns; an interrupt waits until the file is whole, and
    // a kill in between leaves the whole page in the part file.
    int error = lockForWriting(out);
    const InterruptsHeldBack heldBack;
    if (error != 0 || !heldBack.entered()) {
        closeFile(out);
        error = error != 0 ? error : EINTR;
        return failure(SystemErrorText(error), KindOfSystemError(error));
    }
    error = reserveRoom(out, size);
    const bool untouched = error != 0;
    if (error == 0) error = copyAll(part, out);
#ifndef _WIN32
    if (error == 0 && ::ftruncate(out, static_cast<off_t>(size)) != 0) error = errno;
#endif
    if (closeFile(out) != 0 && error == 0) error = errno != 0 ? errno : EIO;
    if (error == 0) return success();
    if (untouched) return failure(WriteErrorText(error), KindOfSystemError(error));
    Error incomplete = failure(WriteErrorText(error) + " (the file was being written in place and is now incomplete)",
                               ErrorKind::FileLeftIncomplete);
    incomplete.text = WriteErrorText(error);
    return incomplete;
}

Error AtomicFileWriter::temporaryFolderFailure(const fs::path& folder, int error) const {
    return failure("its folder may not be written, so the page goes through the temporary folder " + Quoted(folder) +
                       ", which cannot be used: " + SystemErrorText(error),
                   KindOfSystemError(error), folder);
}

Error AtomicFileWriter::failure(const std::string& what, ErrorKind kind, const fs::path& about) const {
    return Error{"cannot write " + Quoted(m_named) + ": " + what, kind, about.empty() ? m_named : about, what};
}

void AtomicFileWriter::discard() {
    m_done = true;
    if (m_fd >= 0) closeFile(m_fd);
    m_fd = -1;
    if (m_partPath.empty()) return;
    std::error_code ignored;
    fs::remove(m_partPath, ignored);
    UnregisterPartFile(m_partPath);
}

Status CopyFileWhole(const fs::path& from, const fs::path& to) {
    errno = 0;
    std::ifstream in(from, std::ios::binary);
    if (!in) {
        const int error = errno != 0 ? errno : ENOENT;
        return Error{"cannot copy " + Quoted(from) + ": " + SystemErrorText(error), KindOfSystemError(error), from,
                     SystemErrorText(error)};
    }
    Result<AtomicFileWriter> writer = AtomicFileWriter::open(to);
    if (!writer) return writer.error();
    std::string buffer(1u << 20, '\0');
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got > 0 && !writer.value().write(std::string_view(buffer.data(), got))) break;
    }
    if (in.bad()) {
        return Error{"cannot copy " + Quoted(from) + ": a read error occurred", ErrorKind::SystemError, from,
                     SystemErrorText(EIO)};
    }
    return writer.value().commit();
}

}  // namespace moza
