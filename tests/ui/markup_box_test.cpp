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

namespace {

using moza::ui::MarkupBox;
using moza::ui::MarkupDisplayText;

const std::string kSquareCp932 = "\x81\xA1";  // ■

// Cells as the make command writes them, `count` of them.
std::string cells(int count) {
    std::string out = "<table cellspacing=0 cellpadding=0 width=9><tr height=9>";
    for (int i = 0; i < count; ++i) out += "<td width=9><font style=font-size:8pt;color:#0A0B0C>" + kSquareCp932 + "</font></td>";
    return out + "</tr></table>";
}

QString decoded(const std::string& cp932) {
    const moza::Result<std::string> utf8 = moza::convert::Cp932ToUtf8(cp932);
    EXPECT_TRUE(utf8.ok());
    return utf8 ? QString::fromUtf8(utf8.value()) : QString();
}

// Removes the line breaks the display added, counting breaks as the text box does.
QString withoutAddedBreaks(const moza::ui::MarkupDisplay& display) {
    QString text;
    std::size_t breakIndex = 0;
    QChar previous;
    for (const QChar c : display.text) {
        const bool isBreak = c == u'\r' || (c == u'\n' && previous != u'\r') || c == QChar(0x2029);
        previous = c;
        if (isBreak && display.breakIsAdded.at(breakIndex++)) continue;
        text.append(c);
    }
    return text;
}

QString copiedSelection(MarkupBox& box) {
    QApplication::clipboard()->clear();
    box.copy();
    return QApplication::clipboard()->text();
}

void select(MarkupBox& box, int start, int end) {
    QTextCursor cursor(box.document());
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    box.setTextCursor(cursor);
}

// Random markup-like text: ASCII, tags and double-byte characters of code page 932.
std::string randomCp932(std::mt19937& random, int length) {
    static const char* const pieces[] = {"<td>", "</td>", "x", "\"", "\x81\xA1", "\x82\xA0", "\x88\x9F",
                                         "\xB1", "\n", "\r\n", "\r", "<", "\x81\x40", "\x9F\xFC"};
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    std::string out;
    for (int i = 0; i < length; ++i) out += pieces[pick(random)];
    return out;
}

TEST(MarkupBoxTest, LongMarkupIsShownInPiecesAndGivenAndCopiedBackAsOneLine) {
    MarkupBox box;
    const std::string markup = cells(1000);
    box.setMarkup(markup);
    EXPECT_GT(box.document()->blockCount(), 10);
    EXPECT_EQ(box.markup(), decoded(markup));
    box.selectAll();
    EXPECT_EQ(copiedSelection(box), decoded(markup));

    const moza::ui::MarkupDisplay display = MarkupDisplayText(markup);
    ASSERT_TRUE(display.text.mid(2000, 200).contains(u'\n'));
    select(box, 2000, 2200);  // across a piece boundary
    EXPECT_EQ(copiedSelection(box), display.text.mid(2000, 200).remove(u'\n'));
    select(box, 10, 30);
    EXPECT_EQ(copiedSelection(box), box.toPlainText().mid(10, 20));
}

TEST(MarkupBoxTest, WhatTheUserTypesIsPartOfTheMarkup) {
    struct Case {
        int block;          // a line break typed in this displayed piece
        int offset;         // this far into it
        int addedBreaks;    // breaks the display added before that place
    };
    for (const Case& c : {Case{1, 5, 1}, Case{2, 0, 2}}) {
        MarkupBox box;
        const std::string markup = cells(1000);
        box.setMarkup(markup);
        const int position = box.document()->findBlockByNumber(c.block).position() + c.offset;
        select(box, position, position);
        QTest::keyClick(&box, Qt::Key_Return);
        EXPECT_EQ(box.markup(), decoded(markup).insert(position - c.addedBreaks, u'\n')) << c.block;
    }
    MarkupBox box;
    box.setMarkup("<td>x</td>");
    select(box, 4, 5);
    QTest::keyClicks(&box, QStringLiteral("yz"));
    EXPECT_EQ(box.markup(), QStringLiteral("<td>yz</td>"));
}

TEST(MarkupBoxLoadingTest, LargeMarkupShowsItsFirstPartAtOnceAndIsWholeWhenAskedFor) {
    const std::string markup = cells(1000);
    MarkupBox box;
    box.setPartChars(5000);
    box.setMarkup(markup);
    EXPECT_TRUE(box.isLoading());
    EXPECT_LT(box.document()->characterCount(), 10000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !box.isLoading(); }, 10000));
    EXPECT_EQ(box.markup(), decoded(markup));

    MarkupBox asked;
    asked.setPartChars(5000);
    asked.setMarkup(markup);
    asked.selectAll();
    EXPECT_EQ(copiedSelection(asked), decoded(markup));
    EXPECT_FALSE(asked.isLoading());
}

TEST(MarkupBoxLoadingTest, LineBreaksInTheMarkupSurvivePartBoundaries) {
    std::mt19937 random(11);
    for (int round = 0; round < 20; ++round) {
        MarkupBox box;
        box.setPartChars(37 + round);
        const std::string markup = randomCp932(random, 300);
        box.setMarkup(markup);
        // The text box reads CR LF and a lone CR as one line break each.
        const QString expected = decoded(markup).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        ASSERT_EQ(box.markup(), expected) << round;
    }
}

TEST(MarkupDisplayTextTest, PiecesEndJustBeforeATagOnceLongEnough) {
    const moza::ui::MarkupDisplay display = MarkupDisplayText(cells(200), 100);
    const QStringList pieces = display.text.split(u'\n');
    ASSERT_GT(pieces.size(), 2);
    for (qsizetype i = 0; i + 1 < pieces.size(); ++i) {
        EXPECT_GE(pieces[i].size(), 100) << i;
        EXPECT_TRUE(pieces[i + 1].startsWith(u'<')) << i;
    }
}

TEST(MarkupDisplayTextTest, AgreesWithThePlainDecoderWholeOrInPartsOnRandomMarkup) {
    std::mt19937 random(4);
    std::uniform_int_distribution<int> partLength(1, 120);
    for (int round = 0; round < 200; ++round) {
        const std::string cp932 = randomCp932(random, 400);
        const moza::ui::MarkupDisplay whole = MarkupDisplayText(cp932, 50);
        ASSERT_EQ(withoutAddedBreaks(whole), decoded(cp932)) << round;
        QTextDocument document;
        document.setPlainText(whole.text);
        ASSERT_EQ(static_cast<std::size_t>(document.blockCount() - 1), whole.breakIsAdded.size()) << round;

        moza::ui::MarkupDecoder decoder(cp932, 50);
        moza::ui::MarkupDisplay joined;
        while (!decoder.atEnd()) {
            const moza::ui::MarkupDisplay part = decoder.next(partLength(random));
            ASSERT_FALSE(part.text.isEmpty());
            ASSERT_FALSE(part.text.endsWith(u'\r') && !decoder.atEnd()) << "a part ends between CR and LF";
            joined.text += part.text;
            joined.breakIsAdded.insert(joined.breakIsAdded.end(), part.breakIsAdded.begin(), part.breakIsAdded.end());
        }
        ASSERT_EQ(joined.text, whole.text) << round;
        ASSERT_EQ(joined.breakIsAdded, whole.breakIsAdded) << round;
    }
}

}  // namespace
