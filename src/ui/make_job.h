// MakeJob: the make command's conversion, run off the window's thread.
#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <atomic>
#include <filesystem>
#include <memory>
#include <string>

#include "common/result.h"
#include "convert/make_page.h"
#include "convert/working_image.h"
#include "glyph/glyph_table.h"

namespace moza::ui {

/// One make command: convert::MakePage into the temp folder on a worker thread, keeping a copy of
/// the table markup for htmltag. Its owner learns of the end through finished(), on its own thread.
class MakeJob : public QObject {
    Q_OBJECT
public:
    /// What a finished make command gives: the page file (or why there is none) and its table.
    struct Outcome {
        Result<std::filesystem::path> page = Error{};
        std::string tableHtml;  // code page 932; empty when the page was not made
    };

    /// What a make command is given.
    struct Request {
        convert::WorkingImage* image = nullptr;  // enlarged by the job: left alone until finished()
        std::shared_ptr<const glyph::GlyphTable> table;
        std::string titleUtf8;
        convert::ColorMode mode = convert::ColorMode::Web;
        std::filesystem::path tempFolder;
        convert::BlockProgress progress;  // called on the worker thread
    };

    explicit MakeJob(QObject* parent = nullptr);
    /// Cancels a running make command and waits for it: no page file is left half-written.
    ~MakeJob() override;

    /// Starts a make command. Precondition: none is running.
    void start(Request request);
    bool running() const { return m_running; }
    /// Asks a running make command to stop and waits until it has; it then leaves no page file
    /// (or, if it had already finished, its complete one). finished() still follows.
    void cancelAndWait();
    /// The outcome, once finished() has been emitted.
    Outcome takeOutcome();

signals:
    void finished();

private:
    QFutureWatcher<std::shared_ptr<Outcome>> m_watcher;
    std::atomic<bool> m_cancel{false};
    bool m_running = false;
};

}  // namespace moza::ui
