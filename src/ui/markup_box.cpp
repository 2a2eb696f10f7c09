// MarkupBox: placeholder that hands the markup to QPlainTextEdit as one line.
#include "ui/markup_box.h"

#include "convert/cp932.h"

namespace moza::ui {

MarkupBox::MarkupBox(QWidget* parent) : QPlainTextEdit(parent) {}

void MarkupBox::setMarkup(const std::string& markupCp932) {
    moza::Result<std::string> utf8 = moza::convert::Cp932ToUtf8(markupCp932);
    setPlainText(utf8 ? QString::fromStdString(utf8.value()) : QString());
}

QString MarkupBox::markup() const { return toPlainText(); }

}  // namespace moza::ui
