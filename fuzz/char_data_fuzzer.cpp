// libFuzzer target: the character-table reader and FindGlyph over whatever it loads.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "glyph/char_data_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    int lines = 0;
    moza::Result<std::vector<moza::glyph::CharRecord>> records =
        moza::glyph::ParseCharData(text, "fuzz.csv", [&lines](const std::string&) { ++lines; });
    if (!records) return 0;
    if (records.value().size() > static_cast<std::size_t>(moza::glyph::kMaxCharCount)) __builtin_trap();
    const moza::glyph::GlyphTable table(std::move(records).value());
    if (table.empty()) return 0;
    // Every record's own pattern finds a record with that pattern (the earliest one).
    for (const moza::glyph::CharRecord& record : table.CharTable()) {
        (void)table.FindGlyph(record.Pattern);
    }
    return 0;
}
