// BlockCounts: how often each darkness pattern occurs among the blocks of a set of pictures.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

#include "common/result.h"
#include "glyph/char_record.h"

namespace moza::tools {

/// Blocks by darkness pattern (levels 0 to 10), as the block sampler measures them.
using BlockCounts = std::map<glyph::DarknessPattern, std::int64_t>;

/// The counts file text: one line per pattern in pattern order, its nine levels as one
/// character each ('0' to '9', 'A' for 10) in the sampler's order (index 0 top-left, row by
/// row), a comma, the count, LF. Patterns counted fewer than `minCount` times are left out.
std::string BlockCountsText(const BlockCounts& counts, std::int64_t minCount = 1);

/// Reads a counts file. Fails, naming the file and line, on a line that is not nine level
/// characters, a comma and a positive count, and on a pattern given twice.
Result<BlockCounts> ReadBlockCounts(const std::filesystem::path& file);

}  // namespace moza::tools
