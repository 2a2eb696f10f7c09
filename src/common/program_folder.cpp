// The program folder from the system: /proc/self/exe on Linux, GetModuleFileName on Windows.
#include "common/program_folder.h"

#include <system_error>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace moza {

std::filesystem::path ProgramFolder() {
#ifdef _WIN32
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) {
            return std::filesystem::path(std::wstring(buffer.data(), length)).parent_path();
        }
        buffer.resize(buffer.size() * 2);
    }
#else
    std::error_code ec;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::filesystem::current_path(ec);
    return executable.parent_path();
#endif
}

std::filesystem::path FixedPath(const std::filesystem::path& programFolder, std::string_view suffix) {
    std::filesystem::path path = programFolder;
    path += std::filesystem::path(suffix).make_preferred();
    return path;
}

}  // namespace moza
