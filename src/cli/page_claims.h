// PageClaims: which page files a run of moza-convert may write, decided before any is written.
#pragma once

#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "common/result.h"

namespace moza::cli {

/// The files a run reads (its pictures and its character table) and the pages it has claimed.
/// A page may not be one of the files read, by any name (a link, another spelling of the path),
/// nor a page another picture of the run has claimed. Thread-safe.
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
    std::vector<Input> m_inputs;
    std::mutex m_mutex;
    std::map<std::filesystem::path, std::string> m_claimed;  // page -> the picture it belongs to
};

/// Whether `a` and `b` are the same file: the same device and inode where both exist, otherwise
/// the same path once links and "." and ".." are resolved.
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace moza::cli
