// One picture's conversion: title, picture, enlargement, then the page streamed to its file.
#include "cli/picture_job.h"

#include <cerrno>
#include <cstdio>

#include "common/file_text.h"
#include "convert/cp932.h"
#include "convert/page_file.h"
#include "convert/page_stream.h"
#include "picture/picture_loader.h"

namespace moza::cli {
namespace {

std::string quoted(const std::string& text) { return "'" + text + "'"; }

Result<std::filesystem::path> writeToStandardOutput(const convert::WorkingImage& image, const glyph::GlyphTable& table,
                                                    convert::ColorMode mode, const std::string& titleCp932,
                                                    convert::BlockProgress progress, int threads) {
    Status streamed = convert::StreamPageFile(
        image, table, mode, titleCp932,
        [](std::string_view piece) { return std::fwrite(piece.data(), 1, piece.size(), stdout) == piece.size(); },
        progress, threads);
    if (streamed && std::fflush(stdout) != 0) streamed = Error{"the page could not be written"};
    if (!streamed) {
        return Error{"cannot write the page to standard output: " +
                     (errno != 0 ? SystemErrorText(errno) : streamed.error().message)};
    }
    return std::filesystem::path("-");
}

}  // namespace

Result<std::filesystem::path> ConvertPicture(const PictureJob& job, const glyph::GlyphTable& table,
                                             convert::ColorMode mode, convert::BlockProgress progress,
                                             const ClaimPage& claim) {
    const std::string picture = quoted(job.picture);
    if (Status oneLine = convert::CheckTitleForPage(job.titleUtf8); !oneLine) {
        return Error{"cannot convert " + picture + ": " + oneLine.error().message};
    }
    Result<std::string> titleCp932 = convert::Utf8ToCp932(job.titleUtf8);
    if (!titleCp932) {
        return Error{"cannot convert " + picture + ": cannot use the title " + quoted(job.titleUtf8) + ": " +
                     titleCp932.error().message};
    }
    if (job.target.kind == PageTarget::Kind::TempFolder) {
        if (Status checked = convert::CheckTitleForFileName(job.titleUtf8); !checked) {
            return Error{"cannot convert " + picture + ": " + checked.error().message + "; give another title with -t or a page file with -o"};
        }
    }
    if (table.empty()) {
        return Error{"cannot convert " + picture + ": the character table holds no characters"};
    }

    Result<convert::WorkingImage> image = picture::LoadPicture(job.picture);
    if (!image) return Error{"cannot load " + picture + ": " + image.error().message};
    image.value().EnlargeToBlocks();

    if (job.target.kind == PageTarget::Kind::StandardOutput) {
        return writeToStandardOutput(image.value(), table, mode, titleCp932.value(), progress, job.threads);
    }
    std::filesystem::path path = job.target.path;
    if (job.target.kind == PageTarget::Kind::TempFolder) {
        Result<std::filesystem::path> named = convert::PageFilePath(job.target.path, convert::LocalTimeNow(), job.titleUtf8);
        if (!named) return Error{"cannot convert " + picture + ": " + named.error().message};
        path = named.value();
    }
    if (Status claimed = claim(path); !claimed) return Error{"cannot convert " + picture + ": " + claimed.error().message};
    Result<convert::AtomicFileWriter> writer = convert::AtomicFileWriter::open(path);
    if (!writer) return writer.error();
    Status streamed = convert::StreamPageFile(
        image.value(), table, mode, titleCp932.value(),
        [&writer](std::string_view piece) { return writer.value().write(piece); }, progress, job.threads);
    if (!streamed && !writer.value().failed()) {
        return Error{"cannot write '" + path.string() + "': " + streamed.error().message};  // the writer discards
    }
    // A refused piece leaves its reason with the writer: commit() reports it and removes the file.
    if (Status committed = writer.value().commit(); !committed) return committed.error();
    return path;
}

}  // namespace moza::cli
