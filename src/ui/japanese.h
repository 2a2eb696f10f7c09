// The program's language: Japanese for Qt's own texts and for Moza's messages.
#pragma once

#include <QStringList>

class QCoreApplication;

namespace moza::ui {

/// Makes `app` speak Japanese whatever the system's language: sets the default locale to
/// Japanese (Japan) and installs the translations of Qt's own texts (qtbase: dialog buttons and
/// the file dialog; qtwebengine: the page view's context menu, from Moza's own catalogue where
/// Qt ships none) and Moza's catalogue for its messages. The translators belong to `app`.
/// Returns the names of the catalogues that could not be loaded (those texts stay English);
/// empty when all were.
QStringList InstallJapanese(QCoreApplication& app);

}  // namespace moza::ui
