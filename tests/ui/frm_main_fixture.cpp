// The main-window fixture: program folder, glyph table and picture helpers.
#include "frm_main_fixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <fstream>
#include <iterator>

#include "convert/block_sampler.h"
#include "picture/path_text.h"

namespace moza::ui::testing {

glyph::CharRecord UniformRecord(glyph::Level level, glyph::CharCode code) {
    glyph::CharRecord record;
    record.Pattern.fill(level);
    record.Code = code;
    return record;
}

std::shared_ptr<const glyph::GlyphTable> WhiteAndBlackTable() {
    return std::make_shared<const glyph::GlyphTable>(std::vector<glyph::CharRecord>{
        UniformRecord(convert::DarknessLevelOfSum(765), 'A'), UniformRecord(convert::DarknessLevelOfSum(0), 0x82A0)});
}

std::string ReadBytes(const QString& path) {
    std::ifstream in(ToPath(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void FrmMainTest::SetUp() {
    ASSERT_TRUE(m_dir.isValid());
    QDir folder(m_dir.path());
    ASSERT_TRUE(folder.mkpath(QStringLiteral("data")));
    ASSERT_TRUE(folder.mkpath(QStringLiteral("temp")));
    for (const char* page : {"data/index.html", "data/version.html"}) {
        QFile file(folder.filePath(QString::fromLatin1(page)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<html><head><meta charset=utf-8></head><body>page</body></html>");
    }
}

void FrmMainTest::TearDown() { m_window.reset(); }

void FrmMainTest::createWindow(std::shared_ptr<const glyph::GlyphTable> table) {
    auto prompts = std::make_unique<FakePrompts>();
    m_prompts = prompts.get();
    m_window = std::make_unique<FrmMain>(std::move(table), ProgramPaths::Beside(ToPath(m_dir.path())), nullptr, std::move(prompts));
}

QString FrmMainTest::writePicture(const QString& name, const QImage& image) {
    const QString path = m_dir.filePath(name);
    EXPECT_TRUE(image.save(path, "PNG")) << path.toStdString();
    return path;
}

QImage FrmMainTest::plainImage(int width, int height, QColor color) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

void FrmMainTest::openThroughDialog(const QString& file) {
    m_prompts->answers.push_back(file);
    action("MN_FILE_OPEN")->trigger();
}

void FrmMainTest::make(const QString& title) {
    child<QLineEdit>("TextTitle")->setText(title);
    child<QPushButton>("MakeButton")->click();
    QTRY_VERIFY_WITH_TIMEOUT(!m_window->isMaking(), 60000);
}

QStringList FrmMainTest::pageFiles() const {
    return QDir(tempFolder()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

}  // namespace moza::ui::testing
