// PageClaims: page paths checked against the run's inputs and against each other.
#include "cli/page_claims.h"

#include <system_error>

namespace moza::cli {
namespace {

std::filesystem::path resolved(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::path canonical = std::filesystem::weakly_canonical(path, ec);
    return ec ? std::filesystem::absolute(path, ec).lexically_normal() : canonical;
}

}  // namespace

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ec;
    if (std::filesystem::exists(a, ec) && std::filesystem::exists(b, ec)) {
        const bool same = std::filesystem::equivalent(a, b, ec);
        if (!ec) return same;
    }
    return resolved(a) == resolved(b);
}

PageClaims::PageClaims(std::vector<Input> inputs) : m_inputs(std::move(inputs)) {}

Status PageClaims::claim(const std::filesystem::path& page, const std::string& picture) {
    for (const Input& input : m_inputs) {
        if (SameFile(page, input.file)) {
            return Error{"its page '" + page.string() + "' would replace " + input.role + " '" + input.file.string() +
                         "' (the same file); give the page another name with -o"};
        }
    }
    std::lock_guard lock(m_mutex);
    const auto [at, isNew] = m_claimed.emplace(resolved(page), picture);
    if (isNew) return success();
    return Error{"its page '" + page.string() + "' is the page of '" + at->second +
                 "' in this run; give it another title (-t) or output (-o)"};
}

}  // namespace moza::cli
