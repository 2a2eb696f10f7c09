// moza-convert as cron, nohup, a pipe or a killer starts it: signals at any moment, closed
// descriptors, other runs writing the same file (a page is the old one or the whole new one);
// memory that runs out beside another picture, and a folder the user may not search.
#include <QImage>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <random>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "common/file_text.h"
#include "scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

const std::string kProgram = std::string(MOZA_PROGRAM_DIR) + "/moza-convert";

/// A started moza-convert: `prepare` runs in the child before the program (closing descriptors,
/// ignoring a signal); no core file is written.
class Child {
public:
    explicit Child(std::vector<std::string> arguments, const std::function<void()>& prepare = {}) {
        arguments.insert(arguments.begin(), kProgram);
        std::vector<char*> argv;
        for (std::string& a : arguments) argv.push_back(a.data());
        argv.push_back(nullptr);
        m_pid = ::fork();
        if (m_pid == 0) {
            const rlimit noCore{0, 0};
            ::setrlimit(RLIMIT_CORE, &noCore);
            if (prepare) prepare();
            ::execv(kProgram.c_str(), argv.data());
            ::_exit(127);
        }
    }
    ~Child() { wait(); }
    pid_t pid() const { return m_pid; }
    /// Waits at most ten seconds for `ready`, but no longer than the run lasts; whether it held.
    bool await(const std::function<bool()>& ready) {
        for (int i = 0; i < 20000; ++i) {
            if (ready()) return true;
            if (m_status < 0 && ::waitpid(m_pid, &m_status, WNOHANG) == 0) m_status = -1;
            if (m_status >= 0) return false;
            ::usleep(500);
        }
        return false;
    }
    /// The wait status once it has ended.
    int wait() {
        if (m_status < 0) ::waitpid(m_pid, &m_status, 0);
        return m_status;
    }

private:
    pid_t m_pid = -1;
    int m_status = -1;
};

class MozaConvertProcessTest : public moza::testing::ScratchFolderTest {
protected:
    /// A picture of `size` x `size` pixels whose page differs with `seed`.
    std::string savePicture(const std::string& name, int size, unsigned seed = 1) const {
        QImage image(size, size, QImage::Format_RGB32);
        std::mt19937 random(seed);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) image.setPixel(x, y, static_cast<QRgb>(random()) | 0xFF000000u);
        const fs::path path = m_folder / name;
        EXPECT_TRUE(image.save(QString::fromStdString(path.string())));
        return path.string();
    }
    static std::string read(const fs::path& path) { return moza::ReadWholeFile(path).value(); }
    std::vector<fs::path> partFiles() const {
        std::vector<fs::path> parts;
        for (const auto& entry : fs::recursive_directory_iterator(m_folder))
            if (entry.path().filename().string().starts_with(".moza-part")) parts.push_back(entry.path());
        return parts;
    }
    /// The old page `page`, with a second name when it is to be written over in place.
    void oldPage(const fs::path& page, bool linked) const {
        fs::remove(m_folder / "link.html");
        file(page.filename().string(), "old page");
        if (linked) fs::create_hard_link(page, m_folder / "link.html");
    }
};

TEST_F(MozaConvertProcessTest, ASignalAtAnyMomentLeavesTheOldPageOrTheWholeNewOne) {
    const std::string picture = savePicture("large.bmp", 1200);
    const fs::path page = m_folder / "page.html";
    ASSERT_EQ(Child({"-q", "-o", (m_folder / "new.html").string(), picture}).wait(), 0);
    const std::string newPage = read(m_folder / "new.html");
    std::mt19937 random(std::random_device{}());
    // Started ignored (nohup) or ignored anyway (SIGPIPE), a signal changes nothing.
    const std::tuple<int, bool> cases[] = {{SIGINT, false},  {SIGTERM, false}, {SIGHUP, false},  {SIGQUIT, false},
                                           {SIGUSR1, false}, {SIGALRM, false}, {SIGXCPU, false}, {SIGHUP, true},
                                           {SIGPIPE, false}, {SIGKILL, false}};
    for (const auto& [signal, ignoredAtStart] : cases) {
        const bool ends = !ignoredAtStart && signal != SIGPIPE;
        for (const bool linked : {false, true}) {  // replaced by a rename, or written over in place
            SCOPED_TRACE(std::string(strsignal(signal)) + (ignoredAtStart ? " (ignored at start)" : "") +
                         (linked ? ", in place" : ""));
            if (signal == SIGKILL && !linked) continue;  // which leaves a part file, swept later
            oldPage(page, linked);
            Child run({"-q", "-o", page.string(), picture}, [&] { if (ignoredAtStart) std::signal(signal, SIG_IGN); });
            // Sent as the part file appears, or at a random moment of the writing over.
            const bool writing = run.await([&] { return linked ? fs::file_size(page) != 8 : !partFiles().empty(); });
            ASSERT_TRUE(writing);
            if (linked) ::usleep(std::uniform_int_distribution<unsigned>(0, 10000)(random));
            ::kill(run.pid(), signal);
            const int status = run.wait();
            if (!ends || (WIFEXITED(status) && linked)) {
                EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
            } else {
                EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
            }
            const bool whole = read(page) == newPage;
            EXPECT_TRUE(ends && !linked ? read(page) == "old page" : whole || signal == SIGKILL);
            if (signal == SIGKILL) {  // killed while writing over: the whole page is beside it
                EXPECT_TRUE(whole || partFiles().size() == 1);
                for (const fs::path& part : partFiles()) {
                    EXPECT_TRUE(read(part) == newPage);
                    fs::remove(part);
                }
            }
            EXPECT_THAT(partFiles(), ::testing::IsEmpty());
        }
    }
}

TEST_F(MozaConvertProcessTest, AnotherWriterOfTheSameFileInPlaceIsWaitedFor) {
    const fs::path page = m_folder / "page.html";
    oldPage(page, true);
    const int held = ::open(page.c_str(), O_WRONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);  // as another run writing it over
    Child run({"-q", "-o", page.string(), savePicture("small.png", 30)});
    const std::string waiter = "-> FLOCK  ADVISORY  WRITE " + std::to_string(run.pid()) + " ";
    EXPECT_TRUE(run.await([&] { return read("/proc/locks").find(waiter) != std::string::npos; }));
    EXPECT_EQ(read(page), "old page");
    ::close(held);
    EXPECT_EQ(run.wait(), 0);
    EXPECT_THAT(read(page), ::testing::StartsWith("\"<html>"));
}

TEST_F(MozaConvertProcessTest, ClosedStandardDescriptorsPutNothingIntoPagesAndAClosedPipeIsAnError) {
    const fs::path out = m_folder / "pages";
    std::vector<std::string> arguments = {"-j", "2", "-o", out.string() + "/", savePicture("large.bmp", 1200)};
    for (unsigned i = 0; i < 6; ++i) arguments.push_back(savePicture("small" + std::to_string(i) + ".png", 30, i));
    {
        Child run(arguments, [] {
            for (int fd = 0; fd <= 2; ++fd) ::close(fd);
        });
        ASSERT_TRUE(run.await([&] { return !partFiles().empty(); }));
        for (const char* fd : {"0", "1", "2"}) {
            std::error_code closed;  // 2 leads to a pipe while a picture decodes
            const std::string target = fs::read_symlink("/proc/" + std::to_string(run.pid()) + "/fd/" + fd, closed);
            EXPECT_TRUE(target == "/dev/null" || target.starts_with("pipe:")) << fd << ": " << target;
        }
        EXPECT_EQ(run.wait(), 0);
    }
    int pages = 0;
    for (const auto& entry : fs::directory_iterator(out)) {
        const std::string text = read(entry.path());
        EXPECT_TRUE(text.starts_with("\"<html>") && text.ends_with("</html>\"\r\n") && text.find('\n') == text.size() - 1)
            << entry.path();
        ++pages;
    }
    EXPECT_EQ(pages, 7);

    // The reader of the page paths has gone: the pages are made, and the lost paths reported.
    fs::remove_all(out);
    arguments.erase(arguments.begin(), arguments.begin() + 2);  // one at a time
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::close(ends[0]);
    const fs::path err = m_folder / "err.txt";
    Child closed(arguments, [&] {
        ::dup2(ends[1], 1);
        ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT, 0600), 2);
    });
    ::close(ends[1]);
    EXPECT_EQ(closed.wait(), 1 << 8);
    EXPECT_THAT(read(err), HasSubstr("on standard output: " + moza::SystemErrorText(EPIPE)));
    EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 7);
}

TEST_F(MozaConvertProcessTest, StandardOutputNamedAsAFileIsWrittenEvenWhenItIsAPipe) {
    const std::string picture = savePicture("small.png", 30);
    ASSERT_EQ(Child({"-q", "-o", (m_folder / "page.html").string(), picture}).wait(), 0);
    for (const std::string output : {"/dev/stdout", "/dev/fd/1"}) {
        std::FILE* pipe = ::popen((kProgram + " -q -o " + output + " '" + picture + "'").c_str(), "r");
        std::string got;
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) got.append(buffer, n);
        EXPECT_EQ(::pclose(pipe), 0) << output;
        EXPECT_EQ(got, read(m_folder / "page.html")) << output;
    }
}

TEST_F(MozaConvertProcessTest, APageInAFolderTheUserMayNotWriteIsWrittenInPlaceOrNamesAnUnusableTemporaryFolder) {
    fs::permissions(m_folder, fs::perms::all);
    const std::string picture = savePicture("small.png", 30);
    fs::permissions(picture, fs::perms::all);
    fs::create_directories(m_folder / "locked");
    const fs::path page = file("locked/page.html", "old page");
    fs::permissions(page, fs::perms::all);
    fs::permissions(m_folder / "locked", fs::perms::owner_all | fs::perms::others_exec);
    const fs::path err = m_folder / "err.txt";
    for (const bool usable : {false, true}) {
        Child run({"-o", page.string(), picture}, [&] {
            ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT, 0666), 2);
            if (!usable) ::setenv("TMPDIR", "/nonexistent", 1);
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(126);  // whom permissions stop
        });
        EXPECT_EQ(run.wait(), usable ? 0 : 1 << 8);
        if (usable) {
            EXPECT_THAT(read(page), ::testing::StartsWith("\"<html>"));
        } else {
            EXPECT_THAT(read(err), HasSubstr("cannot write '" + page.string() + "': its folder may not be written, so the page "
                                             "goes through the temporary folder '/nonexistent', which cannot be used: " +
                                             moza::SystemErrorText(ENOENT)));
            EXPECT_EQ(read(page), "old page");
        }
    }
}

#ifndef __SANITIZE_ADDRESS__  // which needs more address space than the limit leaves
TEST_F(MozaConvertProcessTest, APictureThatRanOutOfMemoryIsTriedAloneAndOneInALockedFolderNamesIt) {
    QImage picture(6000, 4000, QImage::Format_RGB32);  // 96 MB once decoded: one fits beside the program, two do not
    picture.fill(qRgb(200, 100, 50));
    ASSERT_TRUE(picture.save(QString::fromStdString((m_folder / "a.png").string())) &&
                picture.save(QString::fromStdString((m_folder / "b.png").string())));
    fs::create_directories(m_folder / "locked");
    fs::permissions(m_folder / "locked", fs::perms::none);
    fs::permissions(m_folder, fs::perms::all);
    // Root may search any folder: the run is a user's whom permissions stop.
    const std::string asUser = ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
    const int status = std::system(("cd '" + m_folder.string() + "' && ulimit -v 300000 && " + asUser + "'" + kProgram +
                                    "' -j 2 --width 30 -o pages/ a.png b.png locked/x.png 2>stderr.txt >/dev/null")
                                       .c_str());
    fs::permissions(m_folder / "locked", fs::perms::all);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(read(m_folder / "stderr.txt"),
              "moza-convert: cannot load 'locked/x.png': permission denied on the folder 'locked' (its files may not be "
              "reached)\nmoza-convert: 2 of 3 pictures converted; 1 failed\n");
}
#endif

}  // namespace
