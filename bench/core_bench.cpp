// Core benchmarks: decoding, scaling, composing (blocks per second) and FindGlyph against table size.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QImageReader>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "common/file_text.h"
#include "common/program_paths.h"
#include "convert/block_sampler.h"
#include "convert/page_composer.h"
#include "convert/page_markup.h"
#include "convert/page_reader.h"
#include "convert/scale_image.h"
#include "glyph/char_data_loader.h"
#include "glyph/table_image.h"
#include "picture/picture_loader.h"

namespace {

using namespace moza;

/// The benchmark photo: in MOZA_PICTURES when that is set, else in the shared pictures folder.
const std::string kPhoto = std::string(std::getenv("MOZA_PICTURES") != nullptr ? std::getenv("MOZA_PICTURES")
                                                                                : MOZA_PICTURES_DIR) +
                           "/seeding_4000x3000.jpg";

/// Stops the benchmarks, saying what they miss.
[[noreturn]] void missing(const std::string& what, const std::string& message) {
    std::fprintf(stderr, "moza_core_bench: %s is missing: %s\n", what.c_str(), message.c_str());
    std::exit(1);
}

const convert::WorkingImage& enlargedPhoto() {
    static convert::WorkingImage image = [] {
        Result<convert::WorkingImage> loaded = picture::LoadPicture(kPhoto);
        if (!loaded) {
            missing("the 4000 x 3000 benchmark photo (put the test pictures in " MOZA_PICTURES_DIR
                    ", or configure with -DMOZA_BENCH_PICTURES=<folder holding them>)",
                    loaded.error().message);
        }
        loaded.value().EnlargeToBlocks();
        return std::move(loaded).value();
    }();
    return image;
}

const glyph::GlyphTable& shippedTable() {
    static glyph::GlyphTable table = [] {
        Result<glyph::GlyphTable> loaded = glyph::LoadCharData(MOZA_SOURCE_DIR "/data/char.csv", {});
        if (!loaded) missing("the shipped character table", loaded.error().message);
        return std::move(loaded).value();
    }();
    return table;
}

/// A table of `count` records with random patterns (levels 0 to 10), as a generated table might be.
glyph::GlyphTable randomTable(int count) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> level(0, 10);
    std::vector<glyph::CharRecord> records(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < records.size(); ++i) {
        for (glyph::Level& l : records[i].Pattern) l = static_cast<glyph::Level>(level(random));
        records[i].Pattern[0] = static_cast<glyph::Level>(i % 11);  // every top-left level present
        records[i].Code = 0x8140 + static_cast<int>(i);
    }
    return glyph::GlyphTable(std::move(records));
}

void BM_LoadCharData(benchmark::State& state) {
    for (auto _ : state) {
        Result<glyph::GlyphTable> loaded = glyph::LoadCharData(MOZA_SOURCE_DIR "/data/char.csv", {});
        benchmark::DoNotOptimize(loaded.ok());
    }
}
BENCHMARK(BM_LoadCharData)->Unit(benchmark::kMillisecond);

/// The program folder's table as the programs load it: from its binary form when the build made one.
/// Argument 1: with a status line per record, as the desktop program shows them.
void BM_LoadShippedCharData(benchmark::State& state) {
    const std::filesystem::path file = ProgramPaths::ForThisProgram().dataFile(kCharDataName);
    int lines = 0;
    const glyph::LoadStatusSink status = [&lines](const std::string& line) { lines += line.empty() ? 0 : 1; };
    for (auto _ : state) {
        Result<glyph::GlyphTable> loaded = glyph::LoadShippedCharData(file, state.range(0) != 0 ? status : nullptr);
        if (!loaded) missing("the program folder's character table", loaded.error().message);
        benchmark::DoNotOptimize(loaded.ok());
    }
    state.counters["from_binary_form"] = glyph::ReadTableImage(glyph::TableImagePath(file), file).has_value();
    benchmark::DoNotOptimize(lines);
}
BENCHMARK(BM_LoadShippedCharData)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ParseCharData(benchmark::State& state) {
    const Result<std::string> text = ReadWholeFile(MOZA_SOURCE_DIR "/data/char.csv", glyph::kMaxCharDataBytes);
    if (!text) missing("the shipped character table", text.error().message);
    for (auto _ : state) {
        Result<std::vector<glyph::CharRecord>> records = glyph::ParseCharData(text.value(), "char.csv", {});
        benchmark::DoNotOptimize(records.ok());
    }
}
BENCHMARK(BM_ParseCharData)->Unit(benchmark::kMillisecond);

void BM_IndexCharData(benchmark::State& state) {
    const Result<std::string> text = ReadWholeFile(MOZA_SOURCE_DIR "/data/char.csv", glyph::kMaxCharDataBytes);
    if (!text) missing("the shipped character table", text.error().message);
    const std::vector<glyph::CharRecord> records = glyph::ParseCharData(text.value(), "char.csv", {}).value();
    for (auto _ : state) {
        glyph::GlyphTable table(records);
        benchmark::DoNotOptimize(table.empty());
    }
}
BENCHMARK(BM_IndexCharData)->Unit(benchmark::kMillisecond);

void BM_ReadCharData(benchmark::State& state) {
    for (auto _ : state) {
        Result<std::string> text = ReadWholeFile(MOZA_SOURCE_DIR "/data/char.csv", glyph::kMaxCharDataBytes);
        benchmark::DoNotOptimize(text.ok());
    }
}
BENCHMARK(BM_ReadCharData)->Unit(benchmark::kMillisecond);

void BM_QtDecodeOnly(benchmark::State& state) {
    for (auto _ : state) {
        QImageReader reader(QString::fromStdString(kPhoto));
        QImage image = reader.read();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_QtDecodeOnly)->Unit(benchmark::kMillisecond);

void BM_LoadPicture(benchmark::State& state) {
    for (auto _ : state) {
        Result<convert::WorkingImage> image = picture::LoadPicture(kPhoto);
        benchmark::DoNotOptimize(image.ok());
    }
}
BENCHMARK(BM_LoadPicture)->Unit(benchmark::kMillisecond);

void BM_ScaleForPage(benchmark::State& state) {
    const convert::WorkingImage& image = enlargedPhoto();
    convert::PageSizeRequest request;
    if (state.range(0) == 0) request.columns = 200; else request.maxCells = 100000;
    const convert::PictureSize size = convert::TargetPictureSize({image.width(), image.height()}, request);
    for (auto _ : state) {
        Result<convert::WorkingImage> scaled = convert::ScaleImage(image, size.width, size.height);
        benchmark::DoNotOptimize(scaled.ok());
    }
    state.SetLabel((state.range(0) == 0 ? "--width 200: " : "--max-cells 100000: ") + std::to_string(size.width) +
                   " x " + std::to_string(size.height));
}
BENCHMARK(BM_ScaleForPage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ComposeTable(benchmark::State& state) {
    const convert::WorkingImage& image = enlargedPhoto();
    const glyph::GlyphTable& table = state.range(0) == 0 ? shippedTable() : randomTable(static_cast<int>(state.range(0)));
    const auto mode = state.range(1) == 0 ? convert::ColorMode::Web : convert::ColorMode::Mono;
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        Status done = convert::ComposeTable(
            image, table, mode,
            [&bytes](std::string_view piece) {
                bytes += piece.size();
                return true;
            },
            {}, static_cast<int>(state.range(2)));
        benchmark::DoNotOptimize(done.ok());
    }
    const double blocks = static_cast<double>(image.blockRows()) * image.blockColumns();
    state.counters["blocks/s"] = benchmark::Counter(blocks, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["page MB"] = static_cast<double>(bytes) / 1e6;
    state.SetLabel((state.range(0) == 0 ? "shipped table" : std::to_string(state.range(0)) + " random records") +
                   (state.range(1) == 0 ? ", colour, " : ", mono, ") + std::to_string(state.range(2)) + " thread(s)");
}
// Arguments: table (0 the shipped one, else that many random records), mode (0 colour, 1 mono), threads.
BENCHMARK(BM_ComposeTable)
    ->Args({0, 0, 1})
    ->Args({0, 1, 1})
    ->Args({100, 0, 1})
    ->Args({30000, 0, 1})
    ->Args({0, 0, 2})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

/// Times FindGlyph over `patterns` with a random table of state.range(0) records.
void timeFindGlyph(benchmark::State& state, const std::vector<glyph::DarknessPattern>& patterns) {
    const glyph::GlyphTable table = randomTable(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        glyph::CharCode sum = 0;
        for (const glyph::DarknessPattern& p : patterns) sum += table.FindGlyph(p);
        benchmark::DoNotOptimize(sum);
    }
    state.counters["calls/s"] = benchmark::Counter(static_cast<double>(patterns.size()), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_FindGlyphOnPhotoBlocks(benchmark::State& state) {
    const convert::WorkingImage& image = enlargedPhoto();
    std::vector<glyph::DarknessPattern> patterns;
    for (int r = 0; r < image.blockRows(); r += 7)
        for (int c = 0; c < image.blockColumns(); c += 3) patterns.push_back(convert::SampleBlock(image, r, c).pattern);
    timeFindGlyph(state, patterns);
}
BENCHMARK(BM_FindGlyphOnPhotoBlocks)->Arg(100)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond);

void BM_FindGlyphOnRandomPatterns(benchmark::State& state) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> level(0, 10);
    std::vector<glyph::DarknessPattern> patterns(1 << 16);
    for (auto& p : patterns)
        for (glyph::Level& l : p) l = static_cast<glyph::Level>(level(random));
    timeFindGlyph(state, patterns);
}
BENCHMARK(BM_FindGlyphOnRandomPatterns)->Arg(100)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond);

/// The page file bytes of the photo with the shipped table, in colour.
const std::string& photoPage() {
    static const std::string page = [] {
        std::string bytes = convert::PageFileHead("photo");
        Status done = convert::ComposeTable(enlargedPhoto(), shippedTable(), convert::ColorMode::Web,
                                            [&bytes](std::string_view piece) {
                                                bytes.append(piece);
                                                return true;
                                            });
        if (!done) missing("the photo's page", done.error().message);
        bytes.append(convert::kPageFileTail);
        return bytes;
    }();
    return page;
}

void BM_ReadPage(benchmark::State& state) {
    const std::string& page = photoPage();
    for (auto _ : state) {
        Result<convert::PageGrid> grid = convert::ReadPage(page, "photo.html");
        if (!grid) state.SkipWithError(grid.error().message.c_str());
        benchmark::DoNotOptimize(grid.ok());
    }
    state.counters["MB/s"] = benchmark::Counter(static_cast<double>(page.size()) / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ReadPage)->Unit(benchmark::kMillisecond);

void BM_ReadPageFile(benchmark::State& state) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "moza-bench-photo.html";
    const std::string& page = photoPage();
    {
        std::ofstream out(file, std::ios::binary);
        out.write(page.data(), static_cast<std::streamsize>(page.size()));
    }
    for (auto _ : state) {
        Result<convert::PageGrid> grid = convert::ReadPageFile(file);
        if (!grid) state.SkipWithError(grid.error().message.c_str());
        benchmark::DoNotOptimize(grid.ok());
    }
    std::filesystem::remove(file);
}
BENCHMARK(BM_ReadPageFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
