// MarkupBox: the markup in short paragraphs, each marked when it continues the line before it.
#include "ui/markup_box.h"

#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

#include "ui/markup_text.h"

namespace moza::ui {
namespace {

// The user state of a paragraph whose line break before it was added for display. A paragraph
// the user splits off by typing a line break starts with the default state (-1), so typed line
// breaks are kept.
constexpr int kContinuesLine = 1;

}  // namespace

MarkupBox::MarkupBox(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("htmltag"));
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
}

void MarkupBox::setMarkup(const std::string& markupCp932) {
    const MarkupDisplay display = MarkupDisplayText(markupCp932);
    setPlainText(display.text);
    QTextBlock block = document()->firstBlock().next();
    for (const bool added : display.breakIsAdded) {
        if (!block.isValid()) break;
        block.setUserState(added ? kContinuesLine : -1);
        block = block.next();
    }
}

QString MarkupBox::markup() const {
    return textBetween(0, document()->characterCount() - 1);
}

QMimeData* MarkupBox::createMimeDataFromSelection() const {
    const QTextCursor cursor = textCursor();
    auto* mime = new QMimeData;
    mime->setText(textBetween(cursor.selectionStart(), cursor.selectionEnd()));
    return mime;
}

QString MarkupBox::textBetween(int start, int end) const {
    QString text;
    for (QTextBlock block = document()->findBlock(start); block.isValid() && block.position() <= end;
         block = block.next()) {
        const int blockStart = block.position();
        if (blockStart > start && block.userState() != kContinuesLine) text.append(u'\n');
        const int from = std::max(start - blockStart, 0);
        const int to = std::min(end - blockStart, block.length() - 1);
        if (to > from) text.append(QStringView(block.text()).mid(from, to - from));
    }
    return text;
}

}  // namespace moza::ui
