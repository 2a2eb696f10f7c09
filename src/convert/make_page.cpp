// MakePage: title checks, code page 932, whole blocks, then the page composed through one writer.
#include "convert/make_page.h"

#include <new>
#include <string>

#include "common/atomic_file_writer.h"
#include "convert/cp932.h"
#include "convert/page_markup.h"
#include "convert/page_name.h"

namespace moza::convert {
namespace {

/// Composes a picture's table markup into a sink (ComposeTable of the image or the row source).
using TableComposer = std::function<Status(const MarkupSink& sink)>;

/// The page's bytes, head, table and tail, handed to `out`; the table also to the table copy.
Status composePage(const TableComposer& composeTable, std::string_view titleCp932, const PageOptions& options,
                   const MarkupSink& out) {
    auto cancelled = [&options] { return options.cancel != nullptr && options.cancel->load(); };
    bool stopped = false;
    auto put = [&](std::string_view piece) {
        stopped = stopped || cancelled();
        return !stopped && out(piece);
    };
    Status composed = success();
    if (put(PageFileHead(titleCp932))) {
        composed = composeTable([&](std::string_view piece) {
            if (options.tableCopy && !cancelled() && !options.tableCopy(piece)) stopped = true;
            return put(piece);
        });
        if (composed) put(kPageFileTail);
    }
    if (stopped) return Error{std::string(kMakeCancelled), ErrorKind::Cancelled};
    return composed;
}

}  // namespace

Result<std::string> PageTitle(std::string_view titleUtf8, PageTarget::Kind kind) {
    if (Status oneLine = CheckTitleForPage(titleUtf8); !oneLine) return oneLine.error();
    if (kind == PageTarget::Kind::TempFolder) {
        if (Status named = CheckTitleForFileName(titleUtf8); !named) return named.error();
    }
    Result<std::string> titleCp932 = Utf8ToCp932(titleUtf8);
    if (!titleCp932) return InContext("the title cannot be used: ", titleCp932.error());
    return titleCp932;
}

namespace {

/// MakePage's work: the title checked, then `enlarge` called, then the table composed by
/// `composeTable` into the page; memory running out is thrown.
Result<std::filesystem::path> makePage(const glyph::GlyphTable& table, std::string_view titleUtf8,
                                       const PageTarget& target, const PageOptions& options,
                                       const std::function<void()>& enlarge, const TableComposer& composeTable) {
    Result<std::string> titleCp932 = PageTitle(titleUtf8, target.kind);
    if (!titleCp932) return titleCp932.error();
    if (table.empty()) return TableEmptyError();
    enlarge();

    if (target.kind == PageTarget::Kind::Stream) {
        if (Status streamed = composePage(composeTable, titleCp932.value(), options, target.stream); !streamed) {
            return streamed.error();
        }
        return std::filesystem::path();
    }
    std::filesystem::path path = target.path;
    if (target.kind == PageTarget::Kind::TempFolder) {
        Result<std::filesystem::path> named = PageFilePath(target.path, LocalTimeNow(), titleUtf8);
        if (!named) return named.error();
        path = std::move(named).value();
    }
    if (options.claim) {
        if (Status claimed = options.claim(path); !claimed) return claimed.error();
    }
    Result<AtomicFileWriter> writer = AtomicFileWriter::open(
        path, target.replaceExisting ? AtomicFileWriter::Existing::Replace : AtomicFileWriter::Existing::Keep);
    if (!writer) return writer.error();
    AtomicFileWriter& file = writer.value();
    Status composed = composePage(composeTable, titleCp932.value(), options,
                                  [&file](std::string_view piece) { return file.write(piece); });
    // A piece the file refused leaves its reason with the writer, and commit() reports it.
    if (!composed && !file.failed()) return composed.error();  // the writer removes its part file
    if (Status committed = file.commit(); !committed) return committed.error();
    return path;
}

Error outOfMemory(int width, int height) {
    return Error{"not enough memory to make the page of a picture of " + std::to_string(width) + " x " +
                     std::to_string(height) + " pixels",
                 ErrorKind::OutOfMemory,
                 {},
                 {},
                 {.width = width, .height = height}};
}

}  // namespace

Result<std::filesystem::path> MakePage(WorkingImage& image, const glyph::GlyphTable& table, std::string_view titleUtf8,
                                       const PageTarget& target, const PageOptions& options) {
    try {
        return makePage(
            table, titleUtf8, target, options, [&image] { image.EnlargeToBlocks(); },
            [&](const MarkupSink& sink) {
                return ComposeTable(image, table, options.mode, sink, options.progress, options.threads);
            });
    } catch (const std::bad_alloc&) {
        return outOfMemory(image.width(), image.height());  // unwinding has removed the part file
    }
}

Result<std::filesystem::path> MakePage(RowSource& source, const glyph::GlyphTable& table, std::string_view titleUtf8,
                                       const PageTarget& target, const PageOptions& options) {
    try {
        return makePage(
            table, titleUtf8, target, options, [] {},
            [&](const MarkupSink& sink) {
                return ComposeTable(source, table, options.mode, sink, options.progress, options.threads);
            });
    } catch (const std::bad_alloc&) {
        return outOfMemory(source.width(), source.height());
    }
}

}  // namespace moza::convert
