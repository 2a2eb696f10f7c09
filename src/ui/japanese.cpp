// InstallJapanese: Qt's catalogues from its translations folder, Moza's from the program's resources.
#include "ui/japanese.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "ui/page/browser_view.h"

namespace moza::ui {
namespace {

/// Where Moza's own catalogues are built into the program.
constexpr auto kOwnCatalogues = ":/i18n";

bool install(QCoreApplication& app, const QString& name, const QString& folder) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(name, folder) || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

}  // namespace

QStringList InstallJapanese(QCoreApplication& app) {
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    const QString own = QString::fromLatin1(kOwnCatalogues);
    QStringList missing;
    // The translator installed last is asked first, so Qt's own qtwebengine catalogue, where
    // there is one, wins over the fallback Moza carries for the context menu.
    if (kHasBrowserEngine) {
        if (!install(app, QStringLiteral("qtwebengine_ja"), own)) missing << QStringLiteral("qtwebengine_ja (Moza)");
        install(app, QStringLiteral("qtwebengine_ja"), qtFolder);
    }
    if (!install(app, QStringLiteral("qtbase_ja"), qtFolder)) missing << QStringLiteral("qtbase_ja");
    if (!install(app, QStringLiteral("moza_ja"), own)) missing << QStringLiteral("moza_ja");
    return missing;
}

}  // namespace moza::ui
