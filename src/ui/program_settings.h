// The few things the desktop program remembers between runs, and where it keeps them.
#pragma once

#include <QSettings>
#include <memory>

namespace moza::ui {

/// The program's settings: an INI file in the user's configuration folder (Moza/moza.ini), the
/// same on every system. Tests point QSettings::setPath(IniFormat, UserScope, ...) elsewhere.
inline std::unique_ptr<QSettings> ProgramSettings() {
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Moza"),
                                       QStringLiteral("moza"));
}

}  // namespace moza::ui
