// moza's command line: the picture it opens at start, help, version and usage errors.
#include "ui/start_options.h"

#include <gtest/gtest.h>

#include <QDir>

namespace moza::ui {
namespace {

using Action = StartOptions::Action;

TEST(StartArgumentsTest, GiveTheActionAndThePictureAsAnAbsolutePath) {
    const QString here = QDir::currentPath();
#ifdef _WIN32
    const QString drive = here.left(2);  // a path from the root is on the current drive ("C:")
#else
    const QString drive;
#endif
    const struct {
        QStringList arguments;  // after the program's name
        Action action;
        QString picture;        // empty for none
    } cases[] = {
        {{}, Action::Run, {}},
        {{"/pictures/猫 1.jpg"}, Action::Run, drive + "/pictures/猫 1.jpg"},
        {{"cat.bmp"}, Action::Run, here + "/cat.bmp"},
        {{"file:///pictures/%E7%8C%AB.png"}, Action::Run, drive + "/pictures/猫.png"},
        {{"--", "-dash.jpg"}, Action::Run, here + "/-dash.jpg"},
        {{"--help"}, Action::ShowHelp, {}},
        {{"-h", "x.jpg"}, Action::ShowHelp, {}},
        {{"--version"}, Action::ShowVersion, {}},
    };
    for (const auto& c : cases) {
        const Result<StartOptions> options = ParseStartArguments(QStringList{"moza"} + c.arguments);
        ASSERT_TRUE(options) << options.error().message;
        EXPECT_EQ(options.value().action, c.action) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(options.value().picture, c.picture);
    }
    for (const QStringList& refused : {QStringList{"a.jpg", "b.jpg"}, QStringList{"--colour"}, QStringList{"https://example.com/x.jpg"}}) {
        EXPECT_FALSE(ParseStartArguments(QStringList{"moza"} + refused)) << refused.join(u' ').toStdString();
    }
}

TEST(StartArgumentsTest, OnlyHelpAndVersionBeforeAnyDashesAskForTextAlone) {
    const char* const arguments[] = {"moza", "a.jpg", "--version", "--", "--help"};
    EXPECT_TRUE(AsksForTextOnly(3, arguments));   // moza a.jpg --version
    EXPECT_FALSE(AsksForTextOnly(2, arguments));  // moza a.jpg
    const char* const afterDashes[] = {"moza", "--", "--help"};
    EXPECT_FALSE(AsksForTextOnly(3, afterDashes));
    EXPECT_EQ(StartHelpText().section(u'\n', 0, 0), QStringLiteral("使い方: moza [オプション] [PICTURE]"));
}

}  // namespace
}  // namespace moza::ui
