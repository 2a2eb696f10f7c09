// DecodeWarnings: a process-wide Qt message handler installed while any decode runs, routing
// each thread's messages to that thread's collector.
#include "picture/decode_warnings.h"

#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <cstdio>
#include <mutex>

namespace moza::picture {
namespace {

thread_local DecodeWarnings* t_collector = nullptr;

std::mutex g_handlerMutex;
int g_liveCollectors = 0;
QtMessageHandler g_previousHandler = nullptr;

void collectOrPass(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (t_collector != nullptr && type != QtFatalMsg) {
        t_collector->add(message.toStdString());
        return;
    }
    // Read without the lock: it is set before any collector exists and kept until the last ends.
    if (g_previousHandler != nullptr) {
        g_previousHandler(type, context, message);
    } else {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
    }
}

}  // namespace

DecodeWarnings::DecodeWarnings() : m_outer(t_collector) {
    {
        std::lock_guard lock(g_handlerMutex);
        if (g_liveCollectors++ == 0) g_previousHandler = qInstallMessageHandler(collectOrPass);
    }
    t_collector = this;
}

DecodeWarnings::~DecodeWarnings() {
    t_collector = m_outer;
    std::lock_guard lock(g_handlerMutex);
    if (--g_liveCollectors == 0) {
        qInstallMessageHandler(g_previousHandler);
        g_previousHandler = nullptr;
    }
}

const std::string& DecodeWarnings::text() {
    if (!m_librariesRead) {
        m_librariesRead = true;
        std::string lines = m_libraries.finish();
        for (std::size_t start = 0; start < lines.size();) {
            const std::size_t end = std::min(lines.find('\n', start), lines.size());
            add(std::string_view(lines).substr(start, end - start));
            start = end + 1;
        }
    }
    return m_text;
}

void DecodeWarnings::add(std::string_view message) {
    if (!m_text.empty()) m_text.append("; ");
    m_text.append(message);
}

bool SaysDamaged(std::string_view messages) {
    auto says = [messages](std::string_view text) { return messages.find(text) != std::string_view::npos; };
    // libjpeg: "Premature end of JPEG file", "Corrupt JPEG data: premature end of data segment";
    // libpng: "libpng error: Read Error" when the data runs out; libtiff: "... Can not read TIFF
    // directory count"; other readers: "... truncated".
    return says("Premature end") || says("premature end") || says("truncated") ||
           says("libpng error: Read Error") || says("Can not read TIFF") ||
           (says("Corrupt JPEG data") && !says("extraneous bytes"));
}

}  // namespace moza::picture
