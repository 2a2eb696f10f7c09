// MarkupBox (htmltag): shows the one-line table markup of a make command, fast even when huge.
#pragma once

#include <QPlainTextEdit>
#include <QTimer>
#include <memory>
#include <string>

namespace moza::ui {

class MarkupDecoder;

/// A several-line text box with a vertical scroll bar that the user may scroll, select and edit.
/// The markup is laid out as short paragraphs (a text box needs seconds for one line of millions
/// of characters); the line breaks added for that are never part of what is copied or dragged.
/// Large markup arrives in parts: the first at once, the rest between other events, read-only
/// until complete, so that the window never waits for it.
class MarkupBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit MarkupBox(QWidget* parent = nullptr);
    ~MarkupBox() override;

    /// Shows `markupCp932` (code page 932 bytes) decoded; bytes that start no character of the
    /// code page show as U+FFFD. Returns once the first part shows.
    void setMarkup(const std::string& markupCp932);
    /// The text as the user would copy all of it (completing the markup first).
    QString markup() const;
    /// Whether parts of the last markup are still to come.
    bool isLoading() const { return m_decoder != nullptr; }
    /// Shows the rest of the markup now.
    void finishLoading();
    /// Shows the next part of the markup now; false when there was none left.
    bool loadNextPart();

    /// Characters shown at once by setMarkup, and then per part.
    static constexpr qsizetype kPartChars = 1 << 20;
    void setPartChars(qsizetype chars) { m_partChars = chars; }

protected:
    QMimeData* createMimeDataFromSelection() const override;

private:
    void stopLoading();
    QString textBetween(int start, int end) const;

    std::unique_ptr<MarkupDecoder> m_decoder;
    QTimer m_nextPart;
    qsizetype m_partChars = kPartChars;
    Qt::TextInteractionFlags m_flagsBeforeLoading;
};

}  // namespace moza::ui
