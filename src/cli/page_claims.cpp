// PageClaims: page paths checked against the run's inputs and against each other.
#include "cli/page_claims.h"

#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace moza::cli {
namespace {

std::filesystem::path resolved(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::path canonical = std::filesystem::weakly_canonical(path, ec);
    return ec ? std::filesystem::absolute(path, ec).lexically_normal() : canonical;
}

}  // namespace

std::optional<FileId> IdentityOf(const std::filesystem::path& path) {
#ifdef _WIN32
    const HANDLE file = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = GetFileInformationByHandle(file, &info) != 0;
    CloseHandle(file);
    if (!known) return std::nullopt;
    return FileId{info.dwVolumeSerialNumber,
                  (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
#else
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return FileId{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
#endif
}

std::size_t PageClaims::FileIdHash::operator()(const FileId& id) const noexcept {
    return std::hash<std::uint64_t>{}(id.inode * 0x9E3779B97F4A7C15ull ^ id.device);
}

PageClaims::PageClaims(std::vector<Input> inputs) : m_inputs(std::move(inputs)) {
    for (std::size_t i = 0; i < m_inputs.size(); ++i) {
        // The first input of a file names it: a picture given twice is still one file.
        if (const std::optional<FileId> id = IdentityOf(m_inputs[i].file)) {
            m_inputIds.emplace(*id, i);
        } else {
            m_missingInputs.emplace(resolved(m_inputs[i].file), i);
        }
    }
}

const PageClaims::Input* PageClaims::inputAt(const std::filesystem::path& page) const {
    // An existing page can only be an existing input, and a missing one only a missing input.
    if (const std::optional<FileId> id = IdentityOf(page)) {
        const auto found = m_inputIds.find(*id);
        return found == m_inputIds.end() ? nullptr : &m_inputs[found->second];
    }
    if (m_missingInputs.empty()) return nullptr;
    const auto found = m_missingInputs.find(resolved(page));
    return found == m_missingInputs.end() ? nullptr : &m_inputs[found->second];
}

Status PageClaims::claim(const std::filesystem::path& page, const std::string& picture) {
    if (const Input* input = inputAt(page)) {
        return Error{"its page " + Quoted(page) + " would replace " + input->role + " '" + input->file.string() +
                     "' (the same file); give the page another name with -o"};
    }
    const std::filesystem::path key = resolved(page);
    std::lock_guard lock(m_mutex);
    const auto [at, isNew] = m_claimed.emplace(key, picture);
    if (isNew) return success();
    return Error{"its page " + Quoted(page) + " is the page of '" + at->second +
                 "' in this run; give it another title (-t) or output (-o)"};
}

}  // namespace moza::cli
