// moza-block-counts: counts the darkness patterns of the blocks of training pictures for moza-glyphs.
#include <charconv>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "block_counts.h"
#include "convert/block_sampler.h"
#include "common/atomic_file_writer.h"
#include "picture/picture_loader.h"

using namespace moza;

namespace {

constexpr const char* kUsage =
    "Usage: moza-block-counts [--min-count N] -o FILE PICTURE...\n"
    "Samples every 3 x 3 block of each picture as moza-convert does (after enlarging it to\n"
    "whole blocks) and writes how often each darkness pattern occurs, for moza-glyphs\n"
    "--training. Patterns seen fewer than N times (default 1) are left out.\n";

int fail(const std::string& message, int status) {
    std::cerr << "moza-block-counts: " << message << "\n";
    return status;
}

Status countPicture(const std::string& file, tools::BlockCounts& counts) {
    Result<convert::WorkingImage> image = picture::LoadPicture(file);
    if (!image) return image.error();  // "cannot load '<file>': ..."
    image.value().EnlargeToBlocks();
    for (int r = 0; r < image.value().blockRows(); ++r) {
        for (int c = 0; c < image.value().blockColumns(); ++c) ++counts[convert::SampleBlock(image.value(), r, c).pattern];
    }
    return success();
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    std::string output;
    std::int64_t minCount = 1;
    std::vector<std::string> pictures;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if (arg == "-h" || arg == "--help") {
            std::cout << kUsage;
            return 0;
        }
        if ((arg == "-o" || arg == "--min-count") && i + 1 == arguments.size()) return fail(arg + " needs a value", 2);
        if (arg == "-o") {
            output = arguments[++i];
        } else if (arg == "--min-count") {
            const std::string& text = arguments[++i];
            const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), minCount);
            if (error != std::errc{} || end != text.data() + text.size() || minCount < 1) {
                return fail("--min-count needs a positive number, not '" + text + "'", 2);
            }
        } else {
            pictures.push_back(arg);
        }
    }
    if (output.empty() || pictures.empty()) return fail("needs -o FILE and at least one picture (see --help)", 2);
    tools::BlockCounts counts;
    std::int64_t blocks = 0;
    for (const std::string& picture : pictures) {
        if (Status counted = countPicture(picture, counts); !counted) return fail(counted.error().message, 1);
    }
    for (const auto& entry : counts) blocks += entry.second;
    Result<AtomicFileWriter> writer = AtomicFileWriter::open(output);
    if (!writer) return fail(writer.error().message, 1);
    writer.value().write(tools::BlockCountsText(counts, minCount));
    if (Status committed = writer.value().commit(); !committed) return fail(committed.error().message, 1);
    std::fprintf(stderr, "moza-block-counts: %lld blocks of %zu pictures, %zu distinct patterns\n",
                 static_cast<long long>(blocks), pictures.size(), counts.size());
    return 0;
}
