// moza-convert as a user runs it: pages byte for byte, bad pictures, exit statuses, nothing left behind.
#include <QImage>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>

#include <pty.h>
#include <tuple>
#include <sys/wait.h>
#include <unistd.h>

#include "common/file_text.h"
#include "common/version.h"
#include "scratch_folder.h"
#include "plain_rules.h"

namespace {

using moza::testing::PlainCell;

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using moza::kVersionText;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

class MozaConvertTest : public moza::testing::ScratchFolderTest {
protected:
    void SetUp() override {
        ScratchFolderTest::SetUp();
        file("table.csv", "0,0,0,0,0,0,0,0,0,33088\r\n7,7,7,7,7,7,7,7,7,33440\r\n10,10,10,10,10,10,10,10,10,33185\r\n");
    }

    /// A program folder of the test's own, so that pages made without -o land in its temp/, not
    /// in the build's: a copy of moza-convert with data/ beside it, run from now on. Returns its temp/.
    fs::path ownProgramFolder() {
        fs::create_directories(m_folder / "program" / "data");
        fs::copy_file(m_program, m_folder / "program" / "moza-convert");
        m_program = m_folder / "program" / "moza-convert";
        return m_folder / "program" / "temp";
    }

    fs::path m_program = fs::path(MOZA_PROGRAM_DIR) / "moza-convert";

    /// Runs moza-convert with `arguments`; `prefix` goes before it on the shell's command line
    /// (another user, say), `output` is where its standard output goes (default: captured).
    Outcome run(const std::vector<std::string>& arguments, const std::string& prefix = "",
                const std::string& output = "") const {
        std::string command = prefix + shellQuoted(m_program.string());
        for (const std::string& a : arguments) command += " " + shellQuoted(a);
        const fs::path out = m_folder / "stdout.txt";
        const fs::path err = m_folder / "stderr.txt";
        std::ofstream(out).close();
        command += " >" + (output.empty() ? shellQuoted(out.string()) : output) + " 2>" + shellQuoted(err.string()) +
                   " </dev/null";
        Outcome result;
        const int raw = std::system(command.c_str());
        result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        result.out = moza::ReadWholeFile(out).value();
        result.err = moza::ReadWholeFile(err).value();
        return result;
    }

    /// A white picture, (10, 200, 5) from column `green` on: the test table draws 3 x 3 blocks of
    /// them as a full-width space and あ.
    std::string savePicture(const std::string& name, int width = 6, int height = 3, int green = 3) const {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(qRgb(255, 255, 255));
        for (int y = 0; y < height; ++y)
            for (int x = green; x < width; ++x) image.setPixel(x, y, qRgb(10, 200, 5));
        const fs::path path = m_folder / name;
        EXPECT_TRUE(image.save(QString::fromStdString(path.string())));
        return path.string();
    }

    std::string table() const { return (m_folder / "table.csv").string(); }

    std::vector<std::string> pages() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(m_folder))
            if (entry.path().extension() == ".html" || entry.path().filename().string().starts_with(".moza-part"))
                names.push_back(entry.path().filename().string());
        return names;
    }
};

TEST_F(MozaConvertTest, APictureBecomesExactlyThePageItDescribes) {
    // 7 x 4, enlarged to 9 x 6 by copying the last column and row: two rows of a white cell and two あ.
    const std::string row = "<tr height=9>" + PlainCell("FFFFFF", "\x81\x40") + PlainCell("0AC805", "\x82\xA0") +
                            PlainCell("0AC805", "\x82\xA0") + "</tr>";
    const std::string expected = "\"<html><head><title>cat</title></head><body text=#000000>"
                                 "<table cellspacing=0 cellpadding=0 width=27>" + row + row + "</table></body></html>\"\r\n";
    const std::string picture = savePicture("odd.png", 7, 4);
    const std::string page = (m_folder / "page.html").string();
    for (const std::string& output : {page, std::string("-")}) {  // a page file, and standard output
        const Outcome result = run({"--table", table(), "-t", "cat", "-o", output, picture});
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(result.out, output == "-" ? expected : page + "\n");
    }
    EXPECT_EQ(moza::ReadWholeFile(page).value(), expected);
}

TEST_F(MozaConvertTest, ImageIsThePagesPictureBesideOrInsteadOfThePageAndNeverAHalfOne) {
    const std::string picture = savePicture("half.png", 30, 30, 15);  // white left, green right
    const std::string page = (m_folder / "page.html").string(), image = (m_folder / "page.png").string();
    Outcome result = run({"--table", table(), "--image", image, "-o", page, picture});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, page + "\n" + image + "\n");
    // The page is small: drawn as a browser shows it, its left half white and its right half green.
    const QImage drawn(QString::fromStdString(image));
    EXPECT_EQ(drawn.width(), 122);  // 10 characters 10.65 pixels wide and the margins: 1:1, the page being small
    const QImage halves = drawn.copy(8, 24, 106, 100).scaled(2, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_GT(qRed(halves.pixel(0, 0)), 240);
    EXPECT_LT(qRed(halves.pixel(1, 0)), 225);
    EXPECT_GT(qGreen(halves.pixel(1, 0)), qRed(halves.pixel(1, 0)) + 10);

    EXPECT_EQ(run({"--table", table(), "--image", image, "--image-width", "53", "-o", page, picture}).status, 0);
    EXPECT_EQ(QImage(QString::fromStdString(image)).width(), 53);
    file("page.png", "old");  // a width the page cannot be drawn at leaves the old file as it was
    result = run({"--table", table(), "--image", image, "--image-width", "123", "-o", page, picture});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "moza-convert: cannot draw '" + image +
                              "': a picture of the page must be 1 to 122 pixels wide, not 123\n");
    EXPECT_EQ(moza::ReadWholeFile(image).value(), "old");

    // Only the picture: the page is made in the temporary folder and goes.
    fs::remove(page);
    fs::create_directory(m_folder / "tmp");
    result = run({"--table", table(), "--image", image, "--no-page", picture},
                 "TMPDIR=" + shellQuoted((m_folder / "tmp").string()) + " ");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, image + "\n");
    EXPECT_TRUE(pages().empty());
    EXPECT_EQ(QImage(QString::fromStdString(image)).width(), 122);
}

TEST_F(MozaConvertTest, OneFailingPictureDoesNotStopTheOthers) {
    const fs::path out = m_folder / "pages";
    std::vector<std::string> arguments = {
        "--table", table(), "-o", out.string() + "/", file("bad.jpg", "x"), savePicture("good.png")};
    const Outcome result = run(arguments);
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err, HasSubstr("cannot load '" + (m_folder / "bad.jpg").string() + "'"));
    EXPECT_THAT(result.err, ::testing::EndsWith("\nmoza-convert: 1 of 2 pictures converted; 1 failed\n"));
    EXPECT_TRUE(fs::exists(out / "good.html"));
    EXPECT_FALSE(fs::exists(out / "bad.html"));
    arguments.insert(arguments.begin(), "-q");
    const Outcome quiet = run(arguments);
    EXPECT_EQ(quiet.out, "");  // no page paths either
    EXPECT_THAT(quiet.err, ::testing::Not(HasSubstr("pictures converted")));
}

TEST_F(MozaConvertTest, OutputIsAFolderWhenItIsOneOrEndsWithASlashAndSeveralPicturesNeedOne) {
    const std::string a = savePicture("a.png");
    const std::string b = savePicture("b.png");
    fs::create_directories(m_folder / "existing");
    const std::string notes = file("notes.html", "mine");
    struct Case {
        std::string output;
        std::vector<std::string> pictures;
        int status;
        std::string message;            // what standard error says
        std::vector<std::string> made;  // the pages written, under m_folder
    };
    const Case cases[] = {
        {(m_folder / "out.html").string(), {a, b}, 2, "is not a folder, and several pictures need one; end it with '/' to create it", {}},
        {notes, {a, b}, 2, "must be a folder when several pictures are given", {}},
        {(m_folder / "new/deeper").string() + "/", {a, b}, 0, "2 of 2 pictures converted\n", {"new/deeper/a.html", "new/deeper/b.html"}},
        {(m_folder / "existing").string(), {a, b}, 0, "2 of 2 pictures converted", {"existing/a.html", "existing/b.html"}},
        {(m_folder / "existing").string(), {a}, 0, "", {"existing/a.html"}},  // no summary for a single picture
        {(m_folder / "new").string() + "/", {a}, 0, "", {"new/a.html"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = {"--table", table(), "-j", "2", "-o", c.output};
        arguments.insert(arguments.end(), c.pictures.begin(), c.pictures.end());
        const Outcome result = run(arguments);
        EXPECT_EQ(result.status, c.status) << c.output << ": " << result.err;
        EXPECT_TRUE(c.message.empty() ? result.err.empty() : result.err.find(c.message) != std::string::npos) << result.err;
        for (const std::string& page : c.made) {
            EXPECT_TRUE(fs::exists(m_folder / page)) << c.output << ": " << page;
            fs::remove(m_folder / page);
        }
        EXPECT_TRUE(pages().size() == 1 && pages()[0] == "notes.html") << c.output << ": stray pages";
    }
    EXPECT_FALSE(fs::exists(m_folder / "out.html"));
    EXPECT_EQ(moza::ReadWholeFile(notes).value(), "mine");
}

TEST_F(MozaConvertTest, APictureWhosePageWouldReplaceAnotherOfTheRunFails) {
    fs::create_directories(m_folder / "one");
    fs::create_directories(m_folder / "two");
    const std::string first = savePicture("one/same.png");
    const std::string second = savePicture("two/same.png");
    const fs::path out = m_folder / "pages";
    const Outcome result = run({"--table", table(), "-o", out.string() + "/", first, second});
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err, HasSubstr("cannot convert '" + second + "': its page '" + (out / "same.html").string() +
                                      "' is the page of '" + first + "' in this run; give it another title (-t) or output (-o)\n"));
    EXPECT_THAT(moza::ReadWholeFile(out / "same.html").value(), HasSubstr("<title>same</title>"));
    // In the temporary folder too, when both pages are named in the same second: not blamed on another run.
    ownProgramFolder();
    std::string err;
    for (int tries = 0; tries < 5 && err.find("in this run") == std::string::npos; ++tries) {
        err = run({"--table", table(), "-t", "clash", first, second}).err;
    }
    EXPECT_THAT(err, HasSubstr("cannot convert '" + second + "': its page '"));
    EXPECT_THAT(err, HasSubstr("is the page of '" + first + "' in this run; give it another title (-t) or output (-o)\n"));
}

TEST_F(MozaConvertTest, RunsThatCannotSucceedExitOneSayingWhyAndWriteNoPage) {
    const std::string picture = savePicture("small.png");
    const std::string large = savePicture("large.png", 600, 30);  // its page is more than a buffer or a block
    const std::string page = (m_folder / "p.html").string();
    const std::string fileLimit = "ulimit -f 1; ";  // one block, as on a full disk
    const std::tuple<std::string, std::vector<std::string>, std::string> cases[] = {
        {"", {"--table", table(), "-t", "a/b", (m_folder / "unread.png").string()}, "cannot be part of a file name: it holds '/' (U+002F)"},  // before the picture is read
        {"", {"--table", table(), "-t", "</title><script>alert(1)</script>", "-o", page, picture}, "the title cannot hold '<' "
         "(U+003C): it goes into the page as it is, where a browser would read it as the start or end of markup, not as text"},
        {"", {"--table", table(), "-o", page, file("bad\xFF.png", moza::ReadWholeFile(picture).value()).string()},
         "not valid UTF-8 (byte 4); the title is the picture's file name: give another with -t\n"},
        {"", {"--table", table(), "--allow-enlarge", "--width", "100000", "-o", page, savePicture("one.png", 1, 1)}, "enlarged to "
         "30765 x 32766 pixels, more than the 33554432 pixels (128 MB) a picture may have; ask for a smaller page with --width, "
         "--height or --max-cells, or leave out --allow-enlarge"},
        {"", {"--table", (m_folder / "none.csv").string(), "-o", page, picture}, "moza-convert: cannot read '" + (m_folder / "none.csv").string() + "'"},
        {fileLimit, {"--table", table(), "-o", page, large}, "cannot write '" + page + "': File too large\n"},
        {fileLimit, {"--table", table(), "-t", "moza-cli-test-limited", large}, ": File too large\n"},  // no "another run"
        {"", {"--table", table(), "-o", "/dev/full", picture}, "cannot write '/dev/full': the disk is full\n"},
        // Standard output is a full disk: a page small enough to wait in its buffer, and one that is not.
        {"", {"--table", table(), "-o", "-", picture}, "cannot write the page to standard output: the disk is full\n"},
        {"", {"--table", table(), "-o", "-", large}, "cannot write the page to standard output: the disk is full\n"},
    };
    for (const auto& [prefix, arguments, message] : cases) {
        const Outcome result = run(arguments, prefix, "/dev/full");
        EXPECT_EQ(result.status, 1) << message;
        EXPECT_THAT(result.err, HasSubstr(message));
        EXPECT_TRUE(pages().empty()) << message;
    }
    // A JPEG found damaged while its page is being written, over an older page.
    std::string jpeg = moza::ReadWholeFile(savePicture("photo.jpg", 600, 30)).value();
    const std::string damaged = file("damaged.jpg", jpeg.replace(jpeg.size() - 20, 2, "\xFF\xD9")).string();
    const Outcome stopped = run({"--table", table(), "-o", file("p.html", "kept").string(), damaged});
    EXPECT_EQ(stopped.status, 1);
    EXPECT_THAT(stopped.err,
                HasSubstr("moza-convert: cannot load '" + damaged + "': the file is damaged or cut short"));
    EXPECT_EQ(moza::ReadWholeFile(page).value(), "kept");
    const Outcome unprinted = run({"--table", table(), "-o", page, picture}, "", "/dev/full");
    EXPECT_EQ(unprinted.status, 1);
    EXPECT_THAT(unprinted.err, HasSubstr("cannot print the path of '" + page + "' on standard output: the disk is full"));
    // With an explicit page file the title only goes into the page.
    EXPECT_EQ(run({"--table", table(), "-t", "a/b", "-o", page, picture}).status, 0);
}

TEST_F(MozaConvertTest, UsageErrorsExitTwoAndHelpAndVersionZero) {
    EXPECT_EQ(run({}).status, 2);
    EXPECT_THAT(run({"--colour", "x.jpg"}).err, HasSubstr("moza-convert: unknown option '--colour'"));
    EXPECT_EQ(run({"--version"}).out, std::string("moza-convert ") + kVersionText + "\n");
    const Outcome help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_THAT(help.out, HasSubstr("Usage: moza-convert [options] PICTURE..."));
}

// What a careless or hostile run must never do: destroy an input, leave part files, lose a page.

TEST_F(MozaConvertTest, APageNeverReplacesAFileTheRunReads) {
    const std::string picture = savePicture("x.png");
    const std::string before = moza::ReadWholeFile(picture).value();
    fs::create_symlink("x.png", m_folder / "link.html");
    fs::create_hard_link(picture, m_folder / "hard.html");  // the same file under another name
    const std::string copy = file("table-copy.csv", moza::ReadWholeFile(table()).value());
    struct Case {
        std::vector<std::string> arguments;
        std::string replaced;
    };
    const Case cases[] = {
        {{"--table", table(), "-o", picture, picture}, "the picture '" + picture + "'"},
        {{"--table", table(), "-o", (m_folder / "link.html").string(), picture}, "the picture '" + picture + "'"},
        {{"--table", table(), "-o", (m_folder / "hard.html").string(), picture}, "the picture '" + picture + "'"},
        {{"--table", copy, "-o", copy, picture}, "the character table '" + copy + "'"},
        {{"--table", table(), "-o", (m_folder / "." / "x.png").string(), picture}, "the picture '" + picture + "'"},
    };
    for (const Case& c : cases) {
        const Outcome result = run(c.arguments);
        EXPECT_EQ(result.status, 1) << c.replaced;
        EXPECT_THAT(result.err, HasSubstr("would replace " + c.replaced + " (the same file)"));
    }
    EXPECT_EQ(moza::ReadWholeFile(picture).value(), before);
    EXPECT_TRUE(fs::is_symlink(m_folder / "link.html"));
    EXPECT_EQ(moza::ReadWholeFile(copy).value(), moza::ReadWholeFile(table()).value());
}

TEST_F(MozaConvertTest, WithoutAnOutputThePageGoesToTheTempFolderNeverReplacingAnotherRunsPage) {
    // Another run's pages under every name this run can make in the next half minute, so a slow
    // start on a busy machine still meets one.
    const std::string title = "moza-cli-test-concurrent";
    const fs::path temp = ownProgramFolder();
    fs::create_directories(temp);
    std::vector<fs::path> theirs;
    const std::time_t now = std::time(nullptr);
    for (int second = 0; second < 30; ++second) {
        const std::time_t at = now + second;
        std::tm local{};
        localtime_r(&at, &local);
        char name[64];
        std::strftime(name, sizeof name, "%Y%m%d_%H%M%S_", &local);
        theirs.push_back(temp / (name + title + ".html"));
        std::ofstream(theirs.back()) << "their page";
    }
    const std::string picture = savePicture("small.png");
    const Outcome result = run({"--table", table(), "-t", title, picture});
    for (const fs::path& page : theirs) {
        EXPECT_EQ(moza::ReadWholeFile(page).value(), "their page");
        fs::remove(page);
    }
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err, HasSubstr("the file already exists (another run made a page of that name"));

    const Outcome mine = run({"--table", table(), "-t", "moza-cli-test-猫", picture});
    ASSERT_EQ(mine.status, 0) << mine.err;
    const fs::path written = mine.out.substr(0, mine.out.size() - 1);
    EXPECT_EQ(written.parent_path(), temp);
    EXPECT_THAT(written.filename().string(), ::testing::MatchesRegex("[0-9]{8}_[0-9]{6}_moza-cli-test-猫\\.html"));
    EXPECT_THAT(moza::ReadWholeFile(written).value(), HasSubstr("<title>moza-cli-test-\x94\x4C</title>"));
    fs::remove(written);
}

TEST_F(MozaConvertTest, AProgressLineIsDrawnOnATerminalOnly) {
    // The page goes into a pipe read only after two seconds, so the conversion lasts that long.
    const fs::path fifo = m_folder / "page.fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string picture = savePicture("slow.png");
    const std::string readLater = "(sleep 2; cat " + shellQuoted(fifo.string()) + " >/dev/null) & ";
    const Outcome plain = run({"--table", table(), "-o", fifo.string(), picture}, readLater);
    EXPECT_EQ(plain.status, 0);
    EXPECT_EQ(plain.err, "");

    ASSERT_EQ(std::system(readLater.c_str()), 0);
    int terminal = -1;
    const pid_t child = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    if (child == 0) {
        const std::string program = std::string(MOZA_PROGRAM_DIR) + "/moza-convert";
        ::execl(program.c_str(), program.c_str(), "--table", table().c_str(), "-o", fifo.c_str(), picture.c_str(), nullptr);
        ::_exit(127);
    }
    ASSERT_GT(child, 0);
    std::string shown;
    char buffer[256];
    for (ssize_t n; (n = ::read(terminal, buffer, sizeof buffer)) > 0;) shown.append(buffer, static_cast<std::size_t>(n));
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(terminal);
    EXPECT_EQ(status, 0);
    EXPECT_THAT(shown, HasSubstr("\rmoza-convert: 0 of 1 pictures done; slow 0%\033[K"));
    EXPECT_THAT(shown, HasSubstr("\r\033[K" + fifo.string()));  // cleared before the page's path
}

TEST_F(MozaConvertTest, ReplacingAFileDoesWhatTheShellWould) {
    // As a user other than root, whom no permission stops.
    const std::string asUser = ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
    fs::permissions(m_folder, fs::perms::all);
    const std::string picture = savePicture("small.png");
    fs::permissions(picture, fs::perms::all);
    const std::string readOnly = file("read-only.html", "keep");
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const Outcome refused = run({"--table", table(), "-o", readOnly, picture}, asUser);
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.err, ::testing::EndsWith("cannot write '" + readOnly + "': Permission denied\n"));
    EXPECT_EQ(moza::ReadWholeFile(readOnly).value(), "keep");
}

}  // namespace
