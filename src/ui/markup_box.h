// MarkupBox (htmltag): shows the one-line table markup of a make command, fast even when huge.
#pragma once

#include <QPlainTextEdit>
#include <string>

namespace moza::ui {

/// A several-line text box with a vertical scroll bar that the user may scroll, select and edit.
class MarkupBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit MarkupBox(QWidget* parent = nullptr);

    /// Shows `markupCp932` (code page 932 bytes) decoded.
    void setMarkup(const std::string& markupCp932);
    /// The text as the user would copy all of it.
    QString markup() const;
};

}  // namespace moza::ui
