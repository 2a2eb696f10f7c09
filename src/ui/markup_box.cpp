// MarkupBox: the markup in short paragraphs, each marked when it continues the line before it.
#include "ui/markup_box.h"

#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "ui/markup_text.h"

namespace moza::ui {
namespace {

// The user state of a paragraph whose line break before it was added for display. A paragraph
// the user splits off by typing a line break starts with the default state (-1), so typed line
// breaks are kept.
constexpr int kContinuesLine = 1;

// Marks the paragraphs from `block` on, one per line break of `part`.
void markParagraphs(QTextBlock block, const MarkupDisplay& part) {
    for (const bool added : part.breakIsAdded) {
        if (!block.isValid()) break;
        block.setUserState(added ? kContinuesLine : -1);
        block = block.next();
    }
}

}  // namespace

MarkupBox::MarkupBox(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("htmltag"));
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_nextPart.setSingleShot(true);
    m_nextPart.setInterval(0);
    connect(&m_nextPart, &QTimer::timeout, this, &MarkupBox::loadNextPart);
}

MarkupBox::~MarkupBox() = default;

void MarkupBox::setMarkup(const std::string& markupCp932) {
    stopLoading();
    auto decoder = std::make_unique<MarkupDecoder>(markupCp932);
    const MarkupDisplay first = decoder->next(m_partChars);
    setPlainText(first.text);
    markParagraphs(document()->firstBlock().next(), first);
    if (decoder->atEnd()) return;
    // The parts to come are appended at the end: the user may scroll, select and copy meanwhile,
    // but typing there, or undoing an append, would scramble the markup.
    m_decoder = std::move(decoder);
    m_flagsBeforeLoading = textInteractionFlags();
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    document()->setUndoRedoEnabled(false);
    m_nextPart.start();
}

bool MarkupBox::loadNextPart() {
    if (!m_decoder) return false;
    const MarkupDisplay part = m_decoder->next(m_partChars);
    const QTextBlock lastBefore = document()->lastBlock();
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.insertText(part.text);
    markParagraphs(lastBefore.next(), part);
    if (m_decoder->atEnd()) {
        stopLoading();
    } else {
        m_nextPart.start();
    }
    return true;
}

void MarkupBox::finishLoading() {
    while (loadNextPart()) {
    }
}

void MarkupBox::stopLoading() {
    m_nextPart.stop();
    if (!m_decoder) return;
    m_decoder.reset();
    document()->setUndoRedoEnabled(true);
    setTextInteractionFlags(m_flagsBeforeLoading);
}

QString MarkupBox::markup() const {
    const_cast<MarkupBox*>(this)->finishLoading();
    return textBetween(0, document()->characterCount() - 1);
}

QMimeData* MarkupBox::createMimeDataFromSelection() const {
    // A selection that reaches the end grows with the parts still to come.
    const_cast<MarkupBox*>(this)->finishLoading();
    const QTextCursor cursor = textCursor();
    auto* mime = new QMimeData;
    mime->setText(textBetween(cursor.selectionStart(), cursor.selectionEnd()));
    return mime;
}

QString MarkupBox::textBetween(int start, int end) const {
    QString text;
    text.reserve(std::max(end - start, 0));
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
