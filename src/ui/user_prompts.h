// UserPrompts: the dialogs and message boxes of the main window, behind an interface tests answer.
#pragma once

#include <QString>

class QFileDialog;
class QWidget;

namespace moza::ui {

struct ArtImageSizes;

/// Everything the main window asks of the user. The program uses DialogPrompts; tests put in
/// their own answers so that nothing waits for a person.
class UserPrompts {
public:
    virtual ~UserPrompts() = default;

    /// Shows the file dialog `dialog` (already set up with its filters and mode) and waits until
    /// it closes. Returns the chosen file, or an empty text when the user cancelled.
    virtual QString chooseFile(QFileDialog& dialog) = 0;

    /// Tells the user that `what` failed and why (`reason`), and waits until they have read it.
    /// `details` is the technical account (the program's English message), shown on request.
    virtual void showFailure(QWidget* parent, const QString& what, const QString& reason, const QString& details) = 0;

    /// Asks the user `question`, explained by `detail`, and waits for the answer: true for yes.
    virtual bool confirm(QWidget* parent, const QString& question, const QString& detail) = 0;

    /// Asks how wide a picture of a page should be, offering `sizes.standard` and allowing up to
    /// `sizes.maxWidth`; waits for the answer: the width in pixels, or 0 when the user cancelled.
    virtual int chooseImageWidth(QWidget* parent, const ArtImageSizes& sizes) = 0;
};

/// The real dialogs: a modal file dialog, a warning message box and a yes-or-no question.
class DialogPrompts : public UserPrompts {
public:
    QString chooseFile(QFileDialog& dialog) override;
    void showFailure(QWidget* parent, const QString& what, const QString& reason, const QString& details) override;
    bool confirm(QWidget* parent, const QString& question, const QString& detail) override;
    int chooseImageWidth(QWidget* parent, const ArtImageSizes& sizes) override;
};

}  // namespace moza::ui
