// MakeJob: MakePage on QtConcurrent's pool, its end reported through a future watcher.
#include "ui/make_job.h"

#include <QtConcurrent/QtConcurrentRun>
#include <cassert>

namespace moza::ui {

MakeJob::MakeJob(QObject* parent) : QObject(parent) {
    connect(&m_watcher, &QFutureWatcher<std::shared_ptr<Outcome>>::finished, this, [this] {
        m_running = false;
        emit finished();
    });
}

MakeJob::~MakeJob() {
    m_cancel = true;
    m_watcher.waitForFinished();
}

void MakeJob::start(Request request) {
    assert(!m_running && request.image != nullptr && request.table != nullptr);
    m_cancel = false;
    m_running = true;
    m_watcher.setFuture(QtConcurrent::run([request = std::move(request), cancel = &m_cancel] {
        auto outcome = std::make_shared<Outcome>();
        convert::PageOptions options;
        options.mode = request.mode;
        options.progress = request.progress;
        options.cancel = cancel;
        options.tableCopy = [&outcome](std::string_view piece) {
            outcome->tableHtml.append(piece);
            return true;
        };
        const convert::PageTarget target{convert::PageTarget::Kind::TempFolder, request.tempFolder, {}};
        outcome->page = convert::MakePage(*request.image, *request.table, request.titleUtf8, target, options);
        if (!outcome->page) outcome->tableHtml.clear();
        return outcome;
    }));
}

void MakeJob::cancelAndWait() {
    m_cancel = true;
    m_watcher.waitForFinished();
}

MakeJob::Outcome MakeJob::takeOutcome() {
    assert(!m_running && m_watcher.future().resultCount() > 0);
    return std::move(*m_watcher.result());
}

}  // namespace moza::ui
