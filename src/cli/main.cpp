// moza-convert: turns picture files into character-art page files from the command line.
#include <QGuiApplication>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <cerrno>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

#include "cli/cli_options.h"
#include "cli/page_claims.h"
#include "cli/page_image.h"
#include "cli/picture_job.h"
#include "cli/progress_line.h"
#include "common/atomic_file_writer.h"
#include "common/file_text.h"
#include "common/process_start.h"
#include "common/program_paths.h"
#include "common/version.h"
#include "glyph/char_data_loader.h"
#include "glyph/table_image.h"
#include "picture/library_output.h"

namespace {

using moza::cli::CliOptions;
using moza::convert::PageTarget;
using moza::cli::PictureJob;

constexpr int kAllDone = 0;
constexpr int kSomeFailed = 1;
constexpr int kUsage = 2;

/// Moza's own messages: while a picture decodes, decoder libraries' output is taken off file
/// descriptor 2, so messages go to a stream of their own.
std::FILE* errors() { return moza::picture::ProgramStandardError(); }

/// Prints `text` on standard output: kAllDone, or kSomeFailed when it could not be printed.
int printed(const std::string& text) {
    if (std::fputs(text.c_str(), stdout) >= 0 && std::fflush(stdout) == 0) return kAllDone;
    std::fprintf(errors(), "moza-convert: cannot print on standard output: %s\n", moza::WriteErrorText(errno).c_str());
    return kSomeFailed;
}

int usageError(const std::string& message) {
    std::fprintf(errors(), "moza-convert: %s\nTry 'moza-convert --help' for more information.\n", message.c_str());
    return kUsage;
}

std::string pictureStem(const std::string& picture) { return std::filesystem::path(picture).stem().string(); }

bool endsInSeparator(const std::string& path) {
    return !path.empty() && (path.back() == '/' || (std::filesystem::path::preferred_separator == '\\' && path.back() == '\\'));
}

/// Where each picture's page goes. -o names a folder when it is one or ends with a separator
/// (a missing folder is then created); any other path with several pictures is a usage error,
/// so that a mistyped file name never becomes a folder.
moza::Result<std::vector<PictureJob>> planJobs(const CliOptions& options, const moza::ProgramPaths& paths) {
    std::vector<PictureJob> jobs;
    const bool several = options.pictures.size() > 1;
    const bool toPath = !options.output.empty() && options.output != "-";
    std::error_code ec;
    // Asked without its closing separator: Windows finds no folder by a name ending in one.
    const std::filesystem::path output(options.output);
    bool outputIsFolder = toPath && std::filesystem::is_directory(output.has_filename() ? output : output.parent_path(), ec);
    if (toPath && !outputIsFolder && endsInSeparator(options.output)) {
        if (!std::filesystem::create_directories(options.output, ec) && ec) {
            return moza::Error{"cannot create the folder '" + options.output + "': " + ec.message()};
        }
        outputIsFolder = true;
    }
    if (several && toPath && !outputIsFolder) {
        if (std::filesystem::exists(options.output, ec)) {
            return moza::Error{"'-o " + options.output + "' must be a folder when several pictures are given"};
        }
        return moza::Error{"'-o " + options.output + "' is not a folder, and several pictures need one; end it with '/' to create it"};
    }
    for (const std::string& picture : options.pictures) {
        // Pictures converted side by side each compose on one thread; a lone one uses every core.
        PictureJob job{picture, options.hasTitle ? options.title : pictureStem(picture), !options.hasTitle, {},
                       options.jobs > 1 ? 1 : 0, options.pageSize};
        if (!options.keepPage) {
            // Only its picture is wanted: the page goes to the system's temporary folder meanwhile.
            job.target = {PageTarget::Kind::TempFolder, std::filesystem::temp_directory_path(ec), {}, false};
        } else if (options.output.empty()) {
            // Names made from the clock may meet another run's page: that one is kept, never replaced.
            job.target = {PageTarget::Kind::TempFolder, paths.tempFolder(), {}, false};
        } else if (options.output == "-") {
            job.target = {PageTarget::Kind::Stream, {}, {}};
        } else if (outputIsFolder) {
            job.target = {PageTarget::Kind::File, std::filesystem::path(options.output) / (pictureStem(picture) + ".html"), {}};
        } else {
            job.target = {PageTarget::Kind::File, options.output, {}};
        }
        jobs.push_back(std::move(job));
    }
    return jobs;
}

/// "9 of 10 pictures converted; 1 failed".
std::string batchSummary(int pictures, int failed) {
    std::string summary = std::to_string(pictures - failed) + " of " + std::to_string(pictures) + " pictures converted";
    if (failed > 0) summary += "; " + std::to_string(failed) + " failed";
    return summary;
}

/// Draws the picture of `page` for --image and prints the paths of what was kept; with --no-page
/// the page goes. Returns whether the picture was written.
bool drawPageImage(const CliOptions& options, const std::filesystem::path& page, moza::cli::ProgressLine& progress) {
    const moza::Status drawn = moza::cli::WritePageImage(page, options.image, options.imageWidth);
    if (!options.keepPage) {
        std::error_code ignored;
        std::filesystem::remove(page, ignored);
    }
    if (!drawn) {
        progress.message("moza-convert: " + drawn.error().message, errors());
        return false;
    }
    if (options.quiet) return true;
    for (const std::filesystem::path& made : {page, std::filesystem::path(options.image)}) {
        if (made == page && !options.keepPage) continue;
        if (const int error = progress.message(made.string(), stdout); error != 0) {
            progress.message("moza-convert: cannot print the path of '" + made.string() +
                                 "' on standard output: " + moza::WriteErrorText(error),
                             errors());
            return false;
        }
    }
    return true;
}

/// Fails, printing why, when a folder the run needs cannot be had: the fonts' for --image, the
/// temp folder for pages made without -o.
bool prepareFolders(const CliOptions& options, const moza::ProgramPaths& paths) {
    moza::Status prepared = moza::success();
    if (!options.image.empty()) prepared = moza::cli::PreparePageImages(paths.dataFolder());
    if (prepared && options.output.empty() && options.keepPage) prepared = paths.prepareTempFolder();
    if (!prepared) std::fprintf(errors(), "moza-convert: %s\n", prepared.error().message.c_str());
    return prepared.ok();
}

/// The pictures of one run, converted by a few threads; a picture that runs out of memory beside
/// others is tried again alone at the end.
class Batch {
public:
    Batch(const CliOptions& options, const std::vector<PictureJob>& jobs, const moza::glyph::GlyphTable& table,
          const std::filesystem::path& tablePath)
        : m_options(options),
          m_jobs(jobs),
          m_table(table),
          m_progress(isatty(fileno(errors())) != 0 && !options.quiet, static_cast<int>(jobs.size()), errors()),
          m_claims(claimInputs(options, tablePath)) {}

    /// Converts every picture; whether all of them made their pages.
    bool run() {
        const int threads = std::min<int>(m_options.jobs, static_cast<int>(m_jobs.size()));
        auto worker = [this, threads](int slot) {
            for (std::size_t i = m_next++; i < m_jobs.size(); i = m_next++) convertOne(i, slot, threads <= 1);
        };
        std::vector<std::thread> pool;
        try {
            for (int t = 1; t < threads; ++t) pool.emplace_back(worker, t);
        } catch (const std::system_error&) {
            // The system starts no more threads: those started share the pictures.
        }
        worker(0);
        for (std::thread& thread : pool) thread.join();
        std::sort(m_retries.begin(), m_retries.end());
        for (const std::size_t i : m_retries) convertOne(i, 0, true);
        if (!m_madePage.empty() && !drawPageImage(m_options, m_madePage, m_progress)) m_anyFailed = true;
        if (m_jobs.size() > 1 && !m_options.quiet) {
            m_progress.message("moza-convert: " + batchSummary(static_cast<int>(m_jobs.size()), m_failed), errors());
        }
        return !m_anyFailed;
    }

private:
    static std::vector<moza::cli::PageClaims::Input> claimInputs(const CliOptions& options,
                                                                 const std::filesystem::path& tablePath) {
        std::vector<moza::cli::PageClaims::Input> inputs{{tablePath, "the character table"}};
        for (const std::string& picture : options.pictures) inputs.push_back({picture, "the picture"});
        return inputs;
    }

    void convertOne(std::size_t i, int slot, bool alone) {
        const PictureJob& job = m_jobs[i];
        moza::convert::PageOptions make;
        make.mode = m_options.mode;
        make.progress = m_progress.started(slot, pictureStem(job.picture));
        make.claim = [this, &job](const std::filesystem::path& page) { return m_claims.claim(page, job.picture); };
        const moza::Result<std::filesystem::path> page = moza::cli::ConvertPicture(job, m_table, make);
        m_progress.finished(slot);
        if (!page && !alone && page.error().kind == moza::ErrorKind::OutOfMemory) {
            const std::lock_guard lock(m_retryMutex);
            m_retries.push_back(i);
        } else if (!page) {
            m_anyFailed = true;
            ++m_failed;
            m_progress.message("moza-convert: " + page.error().message, errors());
        } else if (!m_options.image.empty()) {
            m_madePage = page.value();  // its path is printed once its picture is drawn
        } else if (!m_options.quiet && page.value() != "-") {
            printPath(page.value());
        }
    }

    void printPath(const std::filesystem::path& page) {
        if (const int error = m_progress.message(page.string(), stdout); error != 0) {
            m_anyFailed = true;  // the page is made, but whoever reads the paths did not get its path
            m_progress.message("moza-convert: cannot print the path of '" + page.string() +
                                   "' on standard output: " + moza::WriteErrorText(error),
                               errors());
        }
    }

    const CliOptions& m_options;
    const std::vector<PictureJob>& m_jobs;
    const moza::glyph::GlyphTable& m_table;
    moza::cli::ProgressLine m_progress;
    moza::cli::PageClaims m_claims;
    std::atomic<std::size_t> m_next{0};
    std::atomic<bool> m_anyFailed{false};
    std::atomic<int> m_failed{0};  // pictures that got no page
    std::mutex m_retryMutex;
    std::vector<std::size_t> m_retries;  // pictures that ran out of memory beside others: tried again alone
    std::filesystem::path m_madePage;    // the page of the one picture, for --image
};

int run(const CliOptions& options) {
    const moza::ProgramPaths paths = moza::ProgramPaths::ForThisProgram();
    const std::filesystem::path tablePath =
        options.table.empty() ? paths.dataFile(moza::kCharDataName) : std::filesystem::path(options.table);
    // The program's own table may be read from its binary form; a table the user names is parsed.
    moza::Result<moza::glyph::GlyphTable> table = options.table.empty()
                                                      ? moza::glyph::LoadShippedCharData(tablePath, {})
                                                      : moza::glyph::LoadCharData(tablePath, {});
    if (!table) {
        std::fprintf(errors(), "moza-convert: %s\n", table.error().message.c_str());
        return kSomeFailed;
    }
    moza::Result<std::vector<PictureJob>> jobs = planJobs(options, paths);
    if (!jobs) return usageError(jobs.error().message);
    if (!prepareFolders(options, paths)) return kSomeFailed;
    return Batch(options, jobs.value(), table.value(), tablePath).run() ? kAllDone : kSomeFailed;
}

}  // namespace

int main(int argc, char** argv) {
    moza::PrepareProcess();
    errors();  // takes its copy of standard error before any picture decodes
    std::vector<std::string> arguments(argv + 1, argv + argc);
    moza::Result<CliOptions> options = moza::cli::ParseArguments(arguments);
    if (!options) return usageError(options.error().message);
    if (options.value().showHelp) {
        return printed(moza::cli::HelpText());
    }
    if (options.value().showVersion) {
        return printed(std::string("moza-convert ") + moza::kVersionText + "\n");
    }
    // Drawing a page's picture needs fonts, which need Qt's application object; nothing else does.
    std::optional<QGuiApplication> app;
    if (!options.value().image.empty()) {
#ifndef _WIN32
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
        // Qt's notes on setting itself up (no runtime folder, say) are not the user's business.
        const QtMessageHandler previous =
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        app.emplace(argc, argv);
        qInstallMessageHandler(previous);
    }
    return run(options.value());
}
