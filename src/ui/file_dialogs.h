// The open and save dialogs: Qt's own file dialog, with "*.*" listing every file.
#pragma once

#include <QFileDialog>
#include <QString>
#include <QStringList>

namespace moza::ui {

/// A file dialog named `name` for opening or saving, owned by `parent`. Outside Windows it is
/// Qt's own dialog, so that it speaks the program's language whatever the desktop's; a filter
/// whose pattern is "*.*" lists every file in it, names without a dot included, as the Windows
/// dialog does.
QFileDialog* CreateFileDialog(QWidget* parent, const QString& name, QFileDialog::AcceptMode mode);

/// Gives `dialog` the filters `filters` and selects `selected`, or the first filter when
/// `selected` is not among them.
void SetNameFilters(QFileDialog& dialog, const QStringList& filters, const QString& selected = {});

}  // namespace moza::ui
