// Handing a file or folder to the desktop's own program for it (the default browser, the file manager).
#pragma once

#include <QString>
#include <functional>

class QObject;

namespace moza::ui {

/// Opens `path` (a file or a folder) in the desktop's program for it, and calls `failed` on the
/// user-interface thread when none starts, while `context` lives. Windows answers at once; on other
/// systems xdg-open is asked, and its exit status tells (it may take a moment: `failed` comes later).
void OpenExternally(QObject* context, const QString& path, std::function<void()> failed);

}  // namespace moza::ui
