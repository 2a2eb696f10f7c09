// MakePage: the one way a picture becomes a page, for every front end.
#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <string_view>

#include "common/result.h"
#include "convert/page_composer.h"
#include "convert/working_image.h"
#include "glyph/glyph_table.h"

namespace moza::convert {

/// Where a page goes.
struct PageTarget {
    enum class Kind {
        TempFolder,  // a file in the folder `path`, named from the clock and the title
        File,        // the file `path`
        Stream,      // the bytes go to `stream` (standard output), not to a file
    };
    Kind kind = Kind::TempFolder;
    std::filesystem::path path;
    MarkupSink stream;
    /// Whether a page file of the same name is replaced; when not, the make fails naming it.
    bool replaceExisting = true;
};

/// How a page is made, beyond its picture, table, title and target.
struct PageOptions {
    ColorMode mode = ColorMode::Web;
    /// Threads composing the table; 0 one per core.
    int threads = 0;
    /// Told of every block, in order, as the table is composed.
    BlockProgress progress;
    /// Asked with the page file's path before anything is written there; a failure stops the
    /// make with that error.
    std::function<Status(const std::filesystem::path& page)> claim;
    /// Receives the table markup (from "<table" to "</table>") piece by piece, as it is written.
    MarkupSink tableCopy;
    /// Set, from any thread, to stop the make; it then fails and leaves no page file behind.
    const std::atomic<bool>* cancel = nullptr;
};

/// The message of a make stopped through PageOptions::cancel.
inline constexpr std::string_view kMakeCancelled = "the page was not made: it was cancelled";

/// The title as the page holds it, in code page 932. Fails when it holds a line break (a page is
/// a single line), when it cannot go into a file name and `kind` names the file after it, or when
/// code page 932 cannot write one of its characters; the message names the character.
Result<std::string> PageTitle(std::string_view titleUtf8, PageTarget::Kind kind);

/// Makes the page of `image` titled `titleUtf8`, in this order: checks that the title fits on
/// the page's single line and, for a page in the temp folder, in a file name; converts it to
/// code page 932; enlarges `image` to whole blocks; composes the table and writes the page file
/// (a double quote, the page, a double quote, CR LF) whole or not at all. Returns the page
/// file's path, or an empty path for a stream. Fails, with no page file left behind, on a title
/// it cannot use (naming the character), an empty glyph table, a refused claim, a file that
/// cannot be written (naming it and the reason), a cancel, or memory running out ("not enough
/// memory to make the page ...", ErrorKind::OutOfMemory). The image stays unenlarged when the
/// title is refused.
Result<std::filesystem::path> MakePage(WorkingImage& image, const glyph::GlyphTable& table, std::string_view titleUtf8,
                                       const PageTarget& target, const PageOptions& options = {});

/// MakePage for a picture decoded as its page is composed: the same page, made without the whole
/// picture in memory. Fails as the other does, and with the source's error (source.failed()) when
/// the picture turns out damaged partway; no page file is then left behind either.
Result<std::filesystem::path> MakePage(RowSource& source, const glyph::GlyphTable& table, std::string_view titleUtf8,
                                       const PageTarget& target, const PageOptions& options = {});

}  // namespace moza::convert
