// The desktop program's command line: a picture to open at start, or a request for help or the version.
#pragma once

#include <QString>
#include <QStringList>

#include "common/result.h"

namespace moza::ui {

/// What `moza [PICTURE]` was asked to do.
struct StartOptions {
    enum class Action { Run, ShowHelp, ShowVersion };
    Action action = Action::Run;
    /// The picture to open once the main window shows, as an absolute path; empty for none.
    QString picture;
};

/// Parses the arguments Qt leaves once it has taken its own (the program's name first). A file
/// URL (as some desktops pass with "Open with") is taken as its local path. Fails with a usage
/// message for an unknown option or more than one picture.
Result<StartOptions> ParseStartArguments(const QStringList& arguments);

/// The text `moza --help` prints.
QString StartHelpText();

/// True when the arguments ask only for text (help or version), which needs no display.
bool AsksForTextOnly(int argc, const char* const* argv);

}  // namespace moza::ui
