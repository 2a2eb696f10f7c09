// Memory for a working image's pixels, asked of the system in large pages where it can give them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace moza::convert {

struct PixelMemoryRelease {
    void operator()(std::uint32_t* pixels) const noexcept;
};

using PixelMemory = std::unique_ptr<std::uint32_t[], PixelMemoryRelease>;

/// Uninitialised room for `count` pixels, or nothing when the memory cannot be had. Pictures of
/// millions of pixels otherwise cost one page fault per 4 KB on first touch, which outweighs
/// decoding on some virtual machines; on Linux large buffers are aligned and marked for huge
/// pages (a hint the system may ignore).
PixelMemory AllocatePixels(std::size_t count);

}  // namespace moza::convert
