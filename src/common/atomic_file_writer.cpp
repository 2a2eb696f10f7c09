// AtomicFileWriter: writes through a hidden file in the destination's folder, renamed into place.
#include "common/atomic_file_writer.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <random>
#include <system_error>

#include "common/file_text.h"

namespace moza {
namespace {

std::filesystem::path partPathFor(const std::filesystem::path& destination) {
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, ".part-%08x-%u", seed, counter.fetch_add(1));
    std::filesystem::path part = destination;
    part.replace_filename("." + destination.filename().string() + suffix);
    return part;
}

std::string quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::filesystem::path destination, std::filesystem::path partPath)
    : m_destination(std::move(destination)), m_partPath(std::move(partPath)) {}

AtomicFileWriter::AtomicFileWriter(AtomicFileWriter&& other) noexcept
    : m_destination(std::move(other.m_destination)),
      m_partPath(std::move(other.m_partPath)),
      m_stream(std::move(other.m_stream)),
      m_failed(other.m_failed),
      m_done(other.m_done) {
    other.m_done = true;
}

AtomicFileWriter::~AtomicFileWriter() {
    if (!m_done) discard();
}

Result<AtomicFileWriter> AtomicFileWriter::open(const std::filesystem::path& destination) {
    const std::filesystem::path folder = destination.parent_path().empty() ? "." : destination.parent_path();
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        return Error{"cannot write " + quoted(destination) + ": the folder " + quoted(folder) + " does not exist"};
    }
    if (std::filesystem::is_directory(destination, ec)) {
        return Error{"cannot write " + quoted(destination) + ": a folder of that name is in the way"};
    }
    // A link is written through, so the link stays and its target gets the page.
    std::filesystem::path target = destination;
    if (std::filesystem::is_symlink(destination, ec)) {
        const std::filesystem::path resolved = std::filesystem::weakly_canonical(destination, ec);
        if (!ec) target = resolved;
    }
    // Devices and pipes (/dev/null, a FIFO) are written directly: renaming a file over them
    // would replace the device itself.
    const std::filesystem::file_status status = std::filesystem::status(target, ec);
    const bool special = std::filesystem::exists(status) && !std::filesystem::is_regular_file(status);
    AtomicFileWriter writer(target, special ? std::filesystem::path() : partPathFor(target));
    errno = 0;
    writer.m_stream.open(special ? target : writer.m_partPath, std::ios::binary | std::ios::trunc);
    if (!writer.m_stream) {
        const int error = errno;
        writer.m_done = true;
        return Error{"cannot write " + quoted(destination) + ": " +
                     (error != 0 ? SystemErrorText(error) : std::string("the file cannot be created"))};
    }
    return writer;
}

bool AtomicFileWriter::write(std::string_view bytes) {
    if (m_failed) return false;
    m_stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!m_stream) m_failed = true;
    return !m_failed;
}

Status AtomicFileWriter::commit() {
    errno = 0;
    if (!m_failed) m_stream.flush();
    const bool written = !m_failed && static_cast<bool>(m_stream);
    const int writeError = errno;
    m_stream.close();
    if (!written || m_stream.fail()) {
        const Error error = failure(writeError == ENOSPC ? "the disk is full"
                                    : writeError != 0  ? SystemErrorText(writeError)
                                                       : "the file could not be written in full");
        discard();
        return error;
    }
    std::error_code ec;
    if (!m_partPath.empty()) std::filesystem::rename(m_partPath, m_destination, ec);
    if (ec) {
        const Error error = failure(ec.message());
        discard();
        return error;
    }
    m_done = true;
    return success();
}

Error AtomicFileWriter::failure(const std::string& what) const {
    return Error{"cannot write " + quoted(m_destination) + ": " + what};
}

void AtomicFileWriter::discard() {
    m_done = true;
    if (m_stream.is_open()) m_stream.close();
    std::error_code ignored;
    if (!m_partPath.empty()) std::filesystem::remove(m_partPath, ignored);
}

Status CopyFileWhole(const std::filesystem::path& from, const std::filesystem::path& to) {
    errno = 0;
    std::ifstream in(from, std::ios::binary);
    if (!in) {
        return Error{"cannot copy " + quoted(from) + ": " + SystemErrorText(errno != 0 ? errno : ENOENT)};
    }
    Result<AtomicFileWriter> writer = AtomicFileWriter::open(to);
    if (!writer) return writer.error();
    std::string buffer(1u << 20, '\0');
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got > 0 && !writer.value().write(std::string_view(buffer.data(), got))) break;
    }
    if (in.bad()) return Error{"cannot copy " + quoted(from) + ": a read error occurred"};
    return writer.value().commit();
}

}  // namespace moza
