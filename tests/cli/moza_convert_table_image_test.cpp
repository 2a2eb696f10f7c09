// moza-convert and the binary form of its table (data/char.bin): whatever state that file is in,
// the program makes the pages and says the messages that parsing data/char.csv gives.
#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>

#include "common/file_text.h"
#include "scratch_folder.h"

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int exitCode;
    std::string page;
    std::string errors;
    friend bool operator==(const Outcome&, const Outcome&) = default;
};

class MozaConvertTableImageTest : public moza::testing::ScratchFolderTest {
protected:
    /// A program folder of its own: a copy of the build's moza-convert and data folder.
    void SetUp() override {
        ScratchFolderTest::SetUp();
        m_folder = fs::canonical(m_folder);  // as the program names its own folder
        fs::copy_file(MOZA_PROGRAM_DIR "/moza-convert", m_folder / "moza-convert");
        fs::copy(MOZA_PROGRAM_DIR "/data", m_folder / "data", fs::copy_options::recursive);
        fs::create_directories(m_folder / "temp");
        // White at the top, which the table's first record answers, and noise below.
        QImage picture(60, 60, QImage::Format_RGB32);
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 60; ++x)
                picture.setPixel(x, y, y < 20 ? 0xFFFFFFFFu : 0xFF000000u | (x * 977u + y * 131u) * 40503u);
        ASSERT_TRUE(picture.save(QString::fromStdString((m_folder / "in.bmp").string())));
    }

    /// moza-convert run on the picture, with `table` given when it is not empty.
    Outcome convert(const std::string& table = {}) const {
        fs::remove(m_folder / "page.html");
        const std::string tableOption = table.empty() ? "" : " --table '" + table + "'";
        const std::string command =
            "cd '" + m_folder.string() + "' && ./moza-convert -q" + tableOption + " -o page.html in.bmp 2>errors.txt";
        const int status = std::system(command.c_str());
        const auto page = moza::ReadWholeFile(m_folder / "page.html");
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, page ? page.value() : "",
                moza::ReadWholeFile(m_folder / "errors.txt").value()};
    }
};

TEST_F(MozaConvertTableImageTest, PagesAndMessagesAreTheTextsWhateverStateItsBinaryFormIsIn) {
    const fs::path text = m_folder / "data" / "char.csv";
    const fs::path image = m_folder / "data" / "char.bin";
    ASSERT_TRUE(fs::exists(image)) << "the build made no binary form";
    const std::string shippedText = moza::ReadWholeFile(text).value();
    const std::string shippedImage = moza::ReadWholeFile(image).value();
    const Outcome shipped = convert();
    ASSERT_EQ(shipped.exitCode, 0) << shipped.errors;
    ASSERT_EQ(convert(text.string()), shipped);

    std::string firstCodeChanged = shippedText;  // "...,33088" becomes "...,33089": same size
    firstCodeChanged[firstCodeChanged.find('\r') - 1] = '9';
    std::string damaged = shippedImage;
    damaged[200] = static_cast<char>(~damaged[200]);
    const struct {
        const char* what;
        std::string text;
        std::string image;
        bool sameAsShipped;
    } cases[] = {
        {"the binary form damaged", shippedText, damaged, true},
        {"the text changed since", firstCodeChanged, shippedImage, false},
    };
    for (const auto& c : cases) {
        file("data/char.csv", c.text);
        file("data/char.bin", c.image);
        const Outcome outcome = convert();
        EXPECT_EQ(outcome, convert(text.string())) << c.what;  // --table always parses the text
        EXPECT_EQ(outcome == shipped, c.sameAsShipped) << c.what << ": " << outcome.errors;
    }
}

}  // namespace
