// PageClaims: which page files a run of moza-convert may write, decided before any is written.
#pragma once

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/result.h"

namespace moza::cli {

/// What makes a file the same file under any name: its device and inode (on Windows its volume
/// and file index).
struct FileId {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    friend bool operator==(const FileId&, const FileId&) = default;
};

/// The identity of the file `path` names (links followed), or nothing when it does not exist or
/// cannot be looked at.
std::optional<FileId> IdentityOf(const std::filesystem::path& path);

/// The files a run reads (its pictures and its character table) and the pages it has claimed.
/// A page may not be one of the files read, by any name (a link, another spelling of the path),
/// nor a page another picture of the run has claimed. Each input is looked at once, when the
/// claims are made, so a claim costs the same however many pictures the run has. Thread-safe.
class PageClaims {
public:
    struct Input {
        std::filesystem::path file;
        std::string role;  // "the picture", "the character table"
    };
    explicit PageClaims(std::vector<Input> inputs);

    /// Claims `page` for `picture`. Fails, naming both files, when the page is a file the run
    /// reads or another picture's page.
    Status claim(const std::filesystem::path& page, const std::string& picture);

private:
    struct FileIdHash {
        std::size_t operator()(const FileId& id) const noexcept;
    };
    struct PathHash {
        std::size_t operator()(const std::filesystem::path& path) const noexcept {
            return std::filesystem::hash_value(path);
        }
    };
    const Input* inputAt(const std::filesystem::path& page) const;

    std::vector<Input> m_inputs;
    std::unordered_map<FileId, std::size_t, FileIdHash> m_inputIds;  // existing inputs -> their index
    std::unordered_map<std::filesystem::path, std::size_t, PathHash> m_missingInputs;  // resolved path -> index
    std::mutex m_mutex;
    std::unordered_map<std::filesystem::path, std::string, PathHash> m_claimed;  // page -> the picture it belongs to
};

}  // namespace moza::cli
