// libFuzzer target: the page reader on any bytes, and the grid it returns for those it accepts.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "convert/page_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const moza::Result<moza::convert::PageGrid> read = moza::convert::ReadPage(bytes, "fuzz.html");
    if (!read) {
        if (read.error().message.rfind("fuzz.html: byte ", 0) != 0) __builtin_trap();  // says where
        return 0;
    }
    const moza::convert::PageGrid& grid = read.value();
    // An accepted page is a whole grid: rows x columns cells, each at least 65 bytes of the input.
    const std::size_t cells = static_cast<std::size_t>(grid.rows) * static_cast<std::size_t>(grid.columns);
    if (grid.codes.size() != cells || grid.colors.size() != cells || cells * 65 > size) __builtin_trap();
    for (const std::uint32_t color : grid.colors) {
        if (color > 0xFFFFFFu) __builtin_trap();
    }
    return 0;
}
