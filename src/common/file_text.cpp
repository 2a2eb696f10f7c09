// Whole-file reading with a message that names the file and the reason.
#include "common/file_text.h"

#include <cerrno>
#include <fstream>
#include <system_error>

namespace moza {
namespace {

std::string megabytes(std::uintmax_t bytes) {
    return std::to_string((bytes + (1u << 20) - 1) >> 20) + " MB";
}

std::string CannotRead(const std::filesystem::path& file) { return "cannot read " + Quoted(file) + ": "; }

}  // namespace

std::string SystemErrorText(int error) { return std::generic_category().message(error); }

Result<FileForReading> OpenFileForReading(const std::filesystem::path& file, std::uintmax_t maxBytes) {
    const std::string cannotRead = CannotRead(file);
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(file, ec);
    if (std::filesystem::is_directory(status)) return Error{cannotRead + "it is a folder", ErrorKind::IsAFolder, file};
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        return Error{cannotRead + "it is not a regular file (a device, a pipe or a socket)", ErrorKind::NotARegularFile, file};
    }
    FileForReading opened;
    if (std::filesystem::exists(status)) {
        opened.size = std::filesystem::file_size(file, ec);
        if (ec) return Error{cannotRead + ec.message(), KindOfSystemError(ec.value()), file, ec.message()};
        if (opened.size > maxBytes) {
            return Error{cannotRead + "the file is " + megabytes(opened.size) + ", more than the " +
                             megabytes(maxBytes) + " such a file can be",
                         ErrorKind::FileTooLarge,
                         file,
                         {},
                         {.limit = static_cast<long long>(maxBytes)}};
        }
    }
    errno = 0;
    opened.stream.open(file, std::ios::binary);
    if (!opened.stream) {
        const int error = errno != 0 ? errno : ENOENT;
        return Error{cannotRead + SystemErrorText(error), KindOfSystemError(error), file, SystemErrorText(error)};
    }
    return opened;
}

Result<std::string> ReadWholeFile(const std::filesystem::path& file, std::uintmax_t maxBytes) {
    Result<FileForReading> opened = OpenFileForReading(file, maxBytes);
    if (!opened) return opened.error();
    const std::string cannotRead = CannotRead(file);
    std::ifstream& in = opened.value().stream;
    // Read in large blocks until the end, however much the file holds by then: first its size
    // and a byte more, to see the end at once.
    std::string text;
    std::size_t block = static_cast<std::size_t>(opened.value().size) + 1;
    for (std::size_t got = 0; in && text.size() <= maxBytes; text.resize(got), block = 1u << 16) {
        text.resize(got + block);
        in.read(text.data() + got, static_cast<std::streamsize>(block));
        got += static_cast<std::size_t>(in.gcount());
    }
    if (in.bad()) return Error{cannotRead + "a read error occurred", ErrorKind::SystemError, file, SystemErrorText(EIO)};
    if (text.size() > maxBytes) {  // it grew while being read
        return Error{cannotRead + "the file is more than the " + megabytes(maxBytes) + " such a file can be",
                     ErrorKind::FileTooLarge,
                     file,
                     {},
                     {.limit = static_cast<long long>(maxBytes)}};
    }
    return text;
}

}  // namespace moza
