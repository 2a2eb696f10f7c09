// moza's command line: the picture it opens at start, help, version and usage errors.
#include "ui/start_options.h"

#include <gtest/gtest.h>

#include <QDir>

namespace moza::ui {
namespace {

struct StartCase {
    const char* name;
    QStringList arguments;  // after the program's name
    StartOptions::Action action;
    QString picture;        // expected; empty for none
};

class StartArgumentsTest : public ::testing::TestWithParam<StartCase> {};

TEST_P(StartArgumentsTest, GiveTheActionAndPicture) {
    const Result<StartOptions> options = ParseStartArguments(QStringList{QStringLiteral("moza")} + GetParam().arguments);
    ASSERT_TRUE(options) << options.error().message;
    EXPECT_EQ(options.value().action, GetParam().action);
    EXPECT_EQ(options.value().picture, GetParam().picture);
}

const QString kHere = QDir::currentPath();
using Action = StartOptions::Action;

INSTANTIATE_TEST_SUITE_P(
    CommandLines, StartArgumentsTest,
    ::testing::Values(
        StartCase{"Nothing", {}, Action::Run, {}},
        StartCase{"AbsolutePath", {QStringLiteral("/pictures/猫 1.jpg")}, Action::Run, QStringLiteral("/pictures/猫 1.jpg")},
        StartCase{"RelativePath", {QStringLiteral("cat.bmp")}, Action::Run, kHere + QStringLiteral("/cat.bmp")},
        StartCase{"FileUrl", {QStringLiteral("file:///pictures/%E7%8C%AB.png")}, Action::Run, QStringLiteral("/pictures/猫.png")},
        StartCase{"DashedNameAfterDashes", {QStringLiteral("--"), QStringLiteral("-dash.jpg")}, Action::Run,
                  kHere + QStringLiteral("/-dash.jpg")},
        StartCase{"Help", {QStringLiteral("--help")}, Action::ShowHelp, {}},
        StartCase{"HelpWinsOverAPicture", {QStringLiteral("-h"), QStringLiteral("x.jpg")}, Action::ShowHelp, {}},
        StartCase{"Version", {QStringLiteral("--version")}, Action::ShowVersion, {}}),
    [](const ::testing::TestParamInfo<StartCase>& testCase) { return std::string(testCase.param.name); });

TEST(StartArgumentsTest, RefuseTwoPicturesAndUnknownOptions) {
    for (const QStringList& arguments : {QStringList{QStringLiteral("a.jpg"), QStringLiteral("b.jpg")},
                                         QStringList{QStringLiteral("--colour")}}) {
        const Result<StartOptions> options = ParseStartArguments(QStringList{QStringLiteral("moza")} + arguments);
        EXPECT_FALSE(options) << arguments.join(u' ').toStdString();
    }
}

TEST(StartArgumentsTest, OnlyHelpAndVersionAskForTextAlone) {
    const char* help[] = {"moza", "--help"};
    const char* version[] = {"moza", "a.jpg", "--version"};
    const char* picture[] = {"moza", "a.jpg"};
    const char* afterDashes[] = {"moza", "--", "--help"};
    EXPECT_TRUE(AsksForTextOnly(2, help));
    EXPECT_TRUE(AsksForTextOnly(3, version));
    EXPECT_FALSE(AsksForTextOnly(2, picture));
    EXPECT_FALSE(AsksForTextOnly(3, afterDashes));
}

}  // namespace
}  // namespace moza::ui
