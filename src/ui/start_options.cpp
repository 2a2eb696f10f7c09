// The desktop program's command line, parsed with QCommandLineParser.
#include "ui/start_options.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <string_view>

namespace moza::ui {
namespace {

/// The parser with moza's options; help and version are plain options so that parsing never exits.
struct StartParser {
    QCommandLineParser parser;
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help.")};
    QCommandLineOption version{QStringLiteral("version"), QStringLiteral("Show the version.")};

    StartParser() {
        parser.setApplicationDescription(
            QStringLiteral("Moza turns a picture into a web page of character art. It opens PICTURE when one is given."));
        parser.addOption(help);
        parser.addOption(version);
        parser.addPositionalArgument(QStringLiteral("PICTURE"), QStringLiteral("a picture to open at start"),
                                     QStringLiteral("[PICTURE]"));
    }
};

QString localFile(const QString& argument) {
    if (argument.startsWith(QStringLiteral("file:"))) return QUrl(argument).toLocalFile();
    return argument;
}

}  // namespace

Result<StartOptions> ParseStartArguments(const QStringList& arguments) {
    StartParser start;
    if (!start.parser.parse(arguments)) return Error{start.parser.errorText().toStdString()};
    StartOptions options;
    if (start.parser.isSet(start.help)) {
        options.action = StartOptions::Action::ShowHelp;
        return options;
    }
    if (start.parser.isSet(start.version)) {
        options.action = StartOptions::Action::ShowVersion;
        return options;
    }
    const QStringList pictures = start.parser.positionalArguments();
    if (pictures.size() > 1) return Error{"moza opens one picture at a time"};
    if (!pictures.isEmpty()) {
        static const QRegularExpression webAddress(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+://"));
        if (!pictures.front().startsWith(QStringLiteral("file:")) && webAddress.match(pictures.front()).hasMatch()) {
            return Error{"'" + pictures.front().toStdString() + "' is a web address; Moza opens only local files"};
        }
        const QString file = localFile(pictures.front());
        if (file.isEmpty()) return Error{"'" + pictures.front().toStdString() + "' is not a local file"};
        options.picture = QFileInfo(file).absoluteFilePath();
    }
    return options;
}

QString StartHelpText() {
    // The parser names the program on its usage line as it was started ("./moza", "/usr/bin/moza"),
    // after "Usage:" in the program's language. (Not found, it is left as it is: a position of -1
    // replaces nothing.)
    QString text = StartParser().parser.helpText();
    const QString started = QCoreApplication::arguments().constFirst();
    return text.replace(text.indexOf(started), started.size(), QStringLiteral("moza"));
}

bool AsksForTextOnly(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--") return false;
        if (argument == "-h" || argument == "--help" || argument == "--version") return true;
    }
    return false;
}

}  // namespace moza::ui
