// MarkupBox (htmltag): shows the one-line table markup of a make command, fast even when huge.
#pragma once

#include <QPlainTextEdit>
#include <string>

namespace moza::ui {

/// A several-line text box with a vertical scroll bar that the user may scroll, select and edit.
/// The markup is laid out as short paragraphs (a text box needs seconds for one line of millions
/// of characters); the line breaks added for that are never part of what is copied or dragged.
class MarkupBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit MarkupBox(QWidget* parent = nullptr);

    /// Shows `markupCp932` (code page 932 bytes) decoded; bytes that start no character of the
    /// code page show as U+FFFD.
    void setMarkup(const std::string& markupCp932);
    /// The text as the user would copy all of it.
    QString markup() const;

protected:
    QMimeData* createMimeDataFromSelection() const override;

private:
    QString textBetween(int start, int end) const;
};

}  // namespace moza::ui
