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
namespace {

glyph::CharRecord uniformRecord(int sum, glyph::CharCode code) {
    glyph::CharRecord record;
    record.Pattern.fill(convert::DarknessLevelOfSum(sum));
    record.Code = code;
    return record;
}

}  // namespace

QString FakePrompts::chooseFile(QFileDialog& dialog) {
    shown.push_back({dialog.objectName(), dialog.directory().absolutePath()});
    if (inspect) inspect(dialog);
    if (answers.empty()) return {};
    QString answer = answers.front();
    answers.pop_front();
    return answer;
}

std::string ReadBytes(const QString& path) {
    std::ifstream in(picture::ToPath(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) << path.toStdString();
}

QImage PlainImage(int width, int height, QColor color) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

void FrmMainTest::SetUp() {
    ASSERT_TRUE(m_dir.isValid());
    for (const char* page : {"/index.html", "/version.html"})
        WriteFile(subfolder(QStringLiteral("data")) + QString::fromLatin1(page), "<html><body>page</body></html>");
    subfolder(QStringLiteral("temp"));
    WriteFile(subfolder(QStringLiteral("config")) + QStringLiteral("/user-dirs.dirs"),
              QStringLiteral("XDG_PICTURES_DIR=\"%1\"\nXDG_DOCUMENTS_DIR=\"%2\"\n")
                  .arg(subfolder(QStringLiteral("写真")), subfolder(QStringLiteral("文書")))
                  .toUtf8());
    m_oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("config"))));
    auto prompts = std::make_unique<FakePrompts>();
    m_prompts = prompts.get();
    m_window = std::make_unique<FrmMain>(
        std::make_shared<const glyph::GlyphTable>(std::vector<glyph::CharRecord>{uniformRecord(765, 'A'), uniformRecord(0, 0x82A0)}),
        ProgramPaths::Beside(picture::ToPath(m_dir.path())), nullptr, std::move(prompts));
}

void FrmMainTest::TearDown() {
    m_window.reset();
    if (m_oldConfig.isNull()) {
        qunsetenv("XDG_CONFIG_HOME");
    } else {
        qputenv("XDG_CONFIG_HOME", m_oldConfig);
    }
}

QString FrmMainTest::subfolder(const QString& name) const {
    EXPECT_TRUE(QDir(m_dir.path()).mkpath(name)) << name.toStdString();
    return m_dir.filePath(name);
}

QString FrmMainTest::writePicture(const QString& name, const QImage& image) {
    const QString path = m_dir.filePath(name);
    EXPECT_TRUE(image.save(path, "PNG")) << path.toStdString();
    return path;
}

void FrmMainTest::openThroughDialog(const QString& file) {
    m_prompts->answers.push_back(file);
    child("MN_FILE_OPEN")->trigger();
}

void FrmMainTest::saveAs(const QString& file) {
    m_prompts->answers.push_back(file);
    child("MN_FILE_SAVE")->trigger();
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
