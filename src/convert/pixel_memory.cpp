// Memory for a working image's pixels: 2 MB aligned with a huge-page hint on Linux.
#include "convert/pixel_memory.h"

#include <cstdint>
#include <cstdlib>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace moza::convert {
namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;
}

void PixelMemoryRelease::operator()(std::uint32_t* pixels) const noexcept { std::free(pixels); }

PixelMemory AllocatePixels(std::size_t count) {
    if (count > SIZE_MAX / sizeof(std::uint32_t) - kHugePage) return nullptr;
    const std::size_t bytes = count * sizeof(std::uint32_t);
#ifdef __linux__
    if (bytes >= kHugePage * 2) {
        const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        void* memory = std::aligned_alloc(kHugePage, rounded);
        if (memory != nullptr) madvise(memory, rounded, MADV_HUGEPAGE);
        return PixelMemory(static_cast<std::uint32_t*>(memory));
    }
#endif
    return PixelMemory(static_cast<std::uint32_t*>(std::malloc(bytes == 0 ? 1 : bytes)));
}

}  // namespace moza::convert
