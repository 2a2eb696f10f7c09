// Checks FindGlyph's index and the composer's cache against a plain scan of the shipped table on
// every block of every picture given and on random patterns; prints what it compared.
// Usage: moza_glyph_check PICTURE...
#include <cstdio>
#include <map>
#include <random>

#include "convert/block_sampler.h"
#include "glyph/char_data_loader.h"
#include "glyph/glyph_cache.h"
#include "picture/picture_loader.h"
#include "plain_rules.h"

namespace {

using namespace moza;

/// Compares the three answers for `pattern`; false (and a line on standard error) when they differ.
bool agrees(const glyph::GlyphTable& table, glyph::GlyphCache& cache, const glyph::DarknessPattern& pattern,
            glyph::CharCode plain) {
    const glyph::CharCode indexed = table.FindGlyph(pattern);
    const glyph::CharCode cached = cache.FindGlyph(pattern);
    if (indexed == plain && cached == plain) return true;
    std::fprintf(stderr, "pattern %d,%d,%d,%d,%d,%d,%d,%d,%d: plain %d, index %d, cache %d\n", pattern[0], pattern[1],
                 pattern[2], pattern[3], pattern[4], pattern[5], pattern[6], pattern[7], pattern[8], plain, indexed,
                 cached);
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    Result<glyph::GlyphTable> loaded = glyph::LoadCharData(MOZA_SOURCE_DIR "/data/char.csv", {});
    if (!loaded) {
        std::fprintf(stderr, "moza_glyph_check: %s\n", loaded.error().message.c_str());
        return 2;
    }
    const glyph::GlyphTable& table = loaded.value();
    const std::vector<glyph::CharRecord>& records = table.CharTable();
    glyph::GlyphCache cache(table);
    std::map<glyph::DarknessPattern, glyph::CharCode> plainAnswers;
    long long blocks = 0;
    int failures = 0;
    for (int a = 1; a < argc; ++a) {
        Result<convert::WorkingImage> picture = picture::LoadPicture(argv[a]);
        if (!picture) {
            std::fprintf(stderr, "moza_glyph_check: %s\n", picture.error().message.c_str());
            return 2;
        }
        convert::WorkingImage& image = picture.value();
        image.EnlargeToBlocks();
        for (int r = 0; r < image.blockRows(); ++r)
            for (int c = 0; c < image.blockColumns(); ++c, ++blocks) {
                const glyph::DarknessPattern pattern = convert::SampleBlock(image, r, c).pattern;
                auto [known, added] = plainAnswers.try_emplace(pattern, 0);
                if (added) known->second = testing::PlainFindGlyph(records, pattern);
                if (!agrees(table, cache, pattern, known->second) && ++failures > 20) return 1;
            }
    }
    std::mt19937 random(24);
    std::uniform_int_distribution<int> level(0, 10);
    constexpr int kRandomPatterns = 20000;
    for (int n = 0; n < kRandomPatterns; ++n) {
        glyph::DarknessPattern pattern;
        for (glyph::Level& l : pattern) l = static_cast<glyph::Level>(level(random));
        if (!agrees(table, cache, pattern, testing::PlainFindGlyph(records, pattern)) && ++failures > 20) return 1;
    }
    std::printf("%lld blocks (%zu distinct patterns) of %d pictures and %d random patterns: %s\n", blocks,
                plainAnswers.size(), argc - 1, kRandomPatterns, failures == 0 ? "index and cache agree with the plain scan" : "DIFFER");
    return failures == 0 ? 0 : 1;
}
