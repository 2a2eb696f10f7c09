// Tests of htmltag: decoded markup, laid out in pieces, copied back as exactly the one-line markup.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QTextBlock>
#include <random>

#include "convert/cp932.h"
#include "ui/markup_box.h"
#include "ui/markup_text.h"

namespace moza::ui {
namespace {

// Cells as the make command writes them, `count` of them, each holding ■.
std::string cells(int count) {
    std::string out = "<table cellspacing=0 cellpadding=0 width=9><tr height=9>";
    for (int i = 0; i < count; ++i) out += "<td width=9><font style=font-size:8pt;color:#0A0B0C>\x81\xA1</font></td>";
    return out + "</tr></table>";
}

QString decoded(const std::string& cp932) { return QString::fromStdString(convert::Cp932ToUtf8(cp932).value()); }

void select(MarkupBox& box, int start, int end) {
    QTextCursor cursor(box.document());
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    box.setTextCursor(cursor);
}

QString copied(MarkupBox& box) {
    QApplication::clipboard()->clear();
    box.copy();
    return QApplication::clipboard()->text();
}

// Random markup-like text: ASCII, tags, line breaks and double-byte characters of code page 932.
std::string randomCp932(std::mt19937& random, int length) {
    static const char* const pieces[] = {"<td>", "</td>", "x", "\"", "\x81\xA1", "\x82\xA0", "\x88\x9F",
                                         "\xB1", "\n", "\r\n", "\r", "<", "\x81\x40", "\x9F\xFC"};
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    std::string out;
    for (int i = 0; i < length; ++i) out += pieces[pick(random)];
    return out;
}

TEST(MarkupBoxTest, LongMarkupIsShownInPiecesCopiedBackAsOneLineAndTypedInto) {
    MarkupBox box;
    const std::string markup = cells(1000);
    box.setMarkup(markup);
    const QString shown = MarkupDisplayText(markup).text;
    ASSERT_TRUE(shown.mid(2000, 200).contains(u'\n'));
    select(box, 2000, 2200);
    EXPECT_EQ(copied(box), shown.mid(2000, 200).remove(u'\n'));  // across a piece boundary
    const int position = box.document()->findBlockByNumber(2).position();  // after two added breaks
    select(box, position, position);
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_EQ(box.markup(), decoded(markup).insert(position - 2, u'\n'));
}

TEST(MarkupBoxTest, MarkupLoadsInPartsAndIsWholeOnceLoadedOrAskedFor) {
    const std::string large = cells(1000);
    MarkupBox box;
    box.setPartChars(5000);
    box.setMarkup(large);
    EXPECT_TRUE(box.isLoading());
    EXPECT_LT(box.document()->characterCount(), 10000);
    box.selectAll();
    EXPECT_EQ(copied(box), decoded(large));  // a copy takes the whole markup
    EXPECT_FALSE(box.isLoading());
    std::mt19937 random(11);
    for (int round = 0; round < 40; ++round) {  // line breaks and characters cut by part boundaries
        box.setPartChars(1 + 3 * round);
        const std::string markup = randomCp932(random, 300);
        box.setMarkup(markup);
        if (round % 2 == 0) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return !box.isLoading(); }, 10000));
        }
        // The text box reads CR LF and a lone CR as one line break each.
        ASSERT_EQ(box.markup(), decoded(markup).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n'));
    }
}

}  // namespace
}  // namespace moza::ui
