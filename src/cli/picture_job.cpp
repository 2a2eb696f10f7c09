// One picture's conversion: the picture loaded, then its page made through the core.
#include "cli/picture_job.h"

#include <cerrno>
#include <cstdio>
#include <new>

#include "common/atomic_file_writer.h"
#include "convert/scale_image.h"
#include "picture/picture_loader.h"

namespace moza::cli {
namespace {

/// The job's picture opened for its page, once its title is known to make a page: its rows, to
/// be decoded as the page is composed, when the page is a file (on standard output a picture
/// found damaged partway would leave half a page) of the picture's own size; otherwise the whole
/// picture, scaled for the page.
Result<picture::OpenedPicture> pictureForPage(const PictureJob& job) {
    const std::string context = "cannot convert " + Quoted(job.picture) + ": ";
    // The title is checked before a large picture is decoded for nothing.
    if (Result<std::string> title = convert::PageTitle(job.titleUtf8, job.target.kind); !title) {
        Error error = title.error();
        if (job.titleFromName) error.message += "; the title is the picture's file name: give another with -t";
        return InContext(context, std::move(error));
    }
    Result<picture::OpenedPicture> opened = picture::OpenPicture(job.picture);
    if (!opened) return opened.error();
    picture::OpenedPicture& loaded = opened.value();
    if (loaded.rows) {
        const convert::PictureSize size{loaded.rows->width(), loaded.rows->height()};
        if (job.target.kind != convert::PageTarget::Kind::Stream &&
            convert::TargetPictureSize(size, job.pageSize) == size) {
            return opened;
        }
        Result<convert::WorkingImage> whole = convert::ReadWholeImage(*loaded.rows);
        if (!whole) return InContext("cannot load " + Quoted(job.picture) + ": ", whole.error(), job.picture);
        loaded = {std::move(whole).value(), nullptr};
    }
    Result<convert::WorkingImage> image = convert::ScaleForPage(std::move(loaded.image), job.pageSize);
    if (!image) {
        Error error = image.error();
        if (error.kind == ErrorKind::PictureTooLarge) {
            error.message += "; ask for a smaller page with --width, --height or --max-cells, or leave out --allow-enlarge";
        }
        return InContext(context, std::move(error));
    }
    loaded.image = std::move(image).value();
    return opened;
}

/// ConvertPicture's work; memory running out is thrown.
Result<std::filesystem::path> convertPicture(const PictureJob& job, const glyph::GlyphTable& table,
                                             convert::PageOptions options) {
    Result<picture::OpenedPicture> opened = pictureForPage(job);
    if (!opened) return opened.error();
    picture::OpenedPicture& loaded = opened.value();
    const std::string quoted = Quoted(job.picture);
    convert::PageTarget target = job.target;
    const bool toStandardOutput = target.kind == convert::PageTarget::Kind::Stream;
    int outputError = 0;  // why standard output refused the page
    if (toStandardOutput) {
        target.stream = [&outputError](std::string_view piece) {
            errno = 0;
            if (std::fwrite(piece.data(), 1, piece.size(), stdout) == piece.size()) return true;
            outputError = errno != 0 ? errno : EIO;
            return false;
        };
    }
    options.threads = job.threads;
    std::filesystem::path named;  // the page's path, once MakePage has named it
    options.claim = [claim = std::move(options.claim), &named](const std::filesystem::path& page) {
        named = page;
        return claim ? claim(page) : success();
    };
    Result<std::filesystem::path> page = loaded.rows
                                             ? convert::MakePage(*loaded.rows, table, job.titleUtf8, target, options)
                                             : convert::MakePage(loaded.image, table, job.titleUtf8, target, options);
    if (page && toStandardOutput) {
        errno = 0;
        if (std::fflush(stdout) != 0) outputError = errno != 0 ? errno : EIO;
    }
    if (outputError != 0) {
        return Error{"cannot convert " + quoted +
                     ": cannot write the page to standard output: " + WriteErrorText(outputError)};
    }
    if (!page && loaded.rows && loaded.rows->failed()) {
        return InContext("cannot load " + quoted + ": ", page.error(), job.picture);
    }
    if (!page) {
        std::error_code ec;
        // A page of this run that has the name fails its claim, which names that page's picture.
        const bool madeByAnother = target.kind == convert::PageTarget::Kind::TempFolder && !target.replaceExisting &&
                                   page.error().kind == ErrorKind::FileExists && !named.empty() &&
                                   std::filesystem::exists(named, ec);
        Error error = page.error();
        if (madeByAnother) error.message += " (another run made a page of that name in the same second; name the page file with -o)";
        return InContext("cannot convert " + quoted + ": ", std::move(error));
    }
    return toStandardOutput ? std::filesystem::path("-") : page.value();
}

}  // namespace

Result<std::filesystem::path> ConvertPicture(const PictureJob& job, const glyph::GlyphTable& table,
                                             convert::PageOptions options) {
    try {
        return convertPicture(job, table, std::move(options));
    } catch (const std::bad_alloc&) {
        return Error{"cannot convert " + Quoted(job.picture) + ": not enough memory", ErrorKind::OutOfMemory};
    }
}

}  // namespace moza::cli
