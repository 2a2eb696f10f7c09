// Whole-file reading with a message that names the file and the reason.
#include "common/file_text.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>

namespace moza {

std::string SystemErrorText(int error) { return std::generic_category().message(error); }

Result<std::string> ReadWholeFile(const std::filesystem::path& file) {
    std::error_code ec;
    if (std::filesystem::is_directory(file, ec)) {
        return Error{"cannot read '" + file.string() + "': it is a folder"};
    }
    errno = 0;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        const int error = errno != 0 ? errno : ENOENT;
        return Error{"cannot read '" + file.string() + "': " + SystemErrorText(error)};
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return Error{"cannot read '" + file.string() + "': a read error occurred"};
    }
    return text;
}

}  // namespace moza
