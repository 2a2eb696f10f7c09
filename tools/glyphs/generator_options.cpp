// moza-glyphs options: one table of names, values checked as they are read.
#include "generator_options.h"

#include <charconv>
#include <cmath>

namespace moza::tools {
namespace {

Error usage(const std::string& what) { return Error{what + " (see --help)"}; }

bool parseNumber(const std::string& text, double low, double high, double& out) {
    double value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value) || value < low || value > high) return false;
    out = value;
    return true;
}

Status applyChoice(const std::string& option, const std::string& value, GeneratorOptions& options) {
    if (option == "--chars") {
        if (value == "full") options.charSet = CharSet::FullWidth;
        else if (value == "half") options.charSet = CharSet::HalfWidth;
        else if (value == "both") options.charSet = CharSet::Both;
        else return usage("--chars takes full, half or both, not '" + value + "'");
        return success();
    }
    if (option == "--hinting") {
        if (value == "none") options.hinting = Hinting::None;
        else if (value == "light") options.hinting = Hinting::Light;
        else if (value == "full") options.hinting = Hinting::Full;
        else return usage("--hinting takes none, light or full, not '" + value + "'");
        return success();
    }
    if (value == "code") options.order = RecordOrder::Code;
    else if (value == "flat") options.order = RecordOrder::Flat;
    else if (value == "standin") options.order = RecordOrder::StandIn;
    else if (value == "trained") options.order = RecordOrder::Trained;
    else return usage("--order takes code, flat, standin or trained, not '" + value + "'");
    return success();
}

Status applyNumber(const std::string& option, const std::string& value, GeneratorOptions& options) {
    struct Range {
        const char* name;
        double low, high;
        double* target;
    };
    const Range ranges[] = {
        {"--pixel-size", 1.0, 500.0, &options.pixelSize},
        {"--cell-width", 0.0, 500.0, &options.cellWidth},
        {"--shift-x", -50.0, 50.0, &options.shiftX},
        {"--shift-y", -50.0, 50.0, &options.shiftY},
        {"--scale", 0.0, 1.0, &options.rule.scale},
        {"--blend", 0.0, 1.0, &options.rule.blend},
        {"--cost-blend", 0.0, 1.0, &options.trainingRule.costBlend},
    };
    for (const Range& range : ranges) {
        if (option != range.name) continue;
        if (!parseNumber(value, range.low, range.high, *range.target)) {
            return usage(option + " takes a number from " + std::to_string(range.low) + " to " +
                         std::to_string(range.high) + ", not '" + value + "'");
        }
        return success();
    }
    return usage("unknown option '" + option + "'");
}

Status applyCount(const std::string& value, std::int64_t& out) {
    std::int64_t count = 0;
    const auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), count);
    if (ec != std::errc() || ptr != value.data() + value.size() || count < 1) {
        return usage("--add-min-count takes a positive whole number, not '" + value + "'");
    }
    out = count;
    return success();
}

}  // namespace

Result<GeneratorOptions> ParseGeneratorArguments(const std::vector<std::string>& arguments) {
    GeneratorOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "-h" || option == "--help") {
            options.showHelp = true;
            continue;
        }
        if (option.empty() || option[0] != '-') return usage("unexpected argument '" + option + "'");
        if (i + 1 == arguments.size()) return usage(option + " needs a value");
        const std::string& value = arguments[++i];
        if (option == "--font") options.fontFamily = value;
        else if (option == "--font-file") options.fontFile = value;
        else if (option == "--list") options.charList = value;
        else if (option == "--first") options.first = value;
        else if (option == "-o" || option == "--output") options.output = value;
        else if (option == "--measurements") options.measurements = value;
        else if (option == "--training") options.training = value;
        else if (option == "--add-min-count") {
            Status applied = applyCount(value, options.trainingRule.addMinCount);
            if (!applied) return applied.error();
        }
        else if (option == "--scale" && value == "darkest") options.rule.scaleRule = ScaleRule::Darkest;
        else if (option == "--scale" && value == "top-left") options.rule.scaleRule = ScaleRule::TopLeft;
        else if (option == "--scale" && value == "position") options.rule.scaleRule = ScaleRule::PerPosition;
        else if (option == "--chars" || option == "--order" || option == "--hinting") {
            Status applied = applyChoice(option, value, options);
            if (!applied) return applied.error();
        } else {
            Status applied = applyNumber(option, value, options);
            if (!applied) return applied.error();
        }
    }
    return options;
}

static_assert(convert::geometry::kCellPoints == 8 && convert::geometry::kCellTextPixels > 10.66665 &&
                  convert::geometry::kCellTextPixels < 10.66667,
              "the help text below gives a page cell's size");

std::string GeneratorHelpText() {
    return "Usage: moza-glyphs [OPTION]...\n"
           "Measures the glyphs of a font as a Moza page shows them (8pt cells at 96 dpi) and\n"
           "writes a char.csv character table: nine darkness levels and the code page 932 code\n"
           "of each character, one record per distinct pattern. The defaults make the table\n"
           "Moza ships.\n"
           "\n"
           "  --font FAMILY       font family to look up with fontconfig (default " +
           std::string(glyph::kGlyphFontFamily) + ")\n"
           "  --font-file PATH    font file to use instead of looking one up\n"
           "  --pixel-size PX     font size in pixels per em (default 10.6667, 8pt at 96 dpi)\n"
           "  --chars SET         full: double-byte characters of full width (default);\n"
           "                      half: single-byte characters; both: all of them\n"
           "  --list TEXT         measure only these characters (UTF-8), in this order of preference\n"
           "  --cell-width PX     measure every glyph in a cell this wide (default: its advance)\n"
           "  --hinting MODE      none, light or full (default light, as Chromium draws text)\n"
           "  --shift-x PX, --shift-y PX\n"
           "                      move every glyph right and down within its cell (default 0)\n"
           "  --scale SCALE       what reaches level 10: an ink coverage from 0 to 1, or\n"
           "                      darkest: the darkest ninth of all;\n"
           "                      top-left: the darkest top-left ninth, so that the first\n"
           "                      position matching compares spans every level (default);\n"
           "                      position: each position's own darkest ninth\n"
           "  --blend SHARE       draw each ninth this far toward the cell's mean ink, 0 to 1\n"
           "                      (default 0.3)\n"
           "  --order ORDER       code, flat, standin or trained (default trained):\n"
           "                      trained adds records for the block patterns of training\n"
           "                      pictures and lets each branch of the matching order be\n"
           "                      led by the record that serves its blocks best\n"
           "  --training FILE     block pattern counts for --order trained (default: the\n"
           "                      counts in the source tree, tools/glyphs/block_counts.csv)\n"
           "  --add-min-count N   patterns counted N times or more get a record (default 3)\n"
           "  --cost-blend SHARE  how far the training cost sees each ninth drawn toward\n"
           "                      the cell's mean ink (default 0)\n"
           "  --first CHAR        make this character record 0, the fallback\n"
           "  -o, --output PATH   where to write the table (default char.csv; - for standard output)\n"
           "  --measurements PATH also write each measured character's ink coverage (code,\n"
           "                      nine ninths, mean; before levels and de-duplication) as CSV\n"
           "  -h, --help          show this help\n"
           "\n"
           "A summary goes to standard error. Exit status: 0 written, 1 failed, 2 usage.\n";
}

}  // namespace moza::tools
