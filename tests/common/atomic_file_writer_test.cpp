// AtomicFileWriter: whole files or none, devices and links, copies, and failed writes that leave nothing behind.
#include "common/atomic_file_writer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <tuple>

#ifdef __linux__
#include <sys/xattr.h>
#endif

#include "common/file_text.h"
#include "scratch_folder.h"

namespace moza {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

using AtomicFileWriterTest = testing::ScratchFolderTest;

/// Writes `bytes` to `path` through an AtomicFileWriter.
Status writeFile(const fs::path& path, std::string_view bytes) {
    Result<AtomicFileWriter> writer = AtomicFileWriter::open(path);
    if (!writer) return writer.error();
    writer.value().write(bytes);
    return writer.value().commit();
}

TEST_F(AtomicFileWriterTest, AFolderThatIsMissingOrAFileIsNamedAndNothingIsWritten) {
    std::ofstream(m_folder / "file") << "a file, not a folder";
    const std::pair<fs::path, std::string> cases[] = {
        {m_folder / "temp" / "page.html", "cannot write '" + (m_folder / "temp" / "page.html").string() + "'"},
        {m_folder / "file" / "page.html", "'" + (m_folder / "file").string() + "' is not a folder"},
        {m_folder, "a folder of that name is in the way"},
    };
    for (const auto& [path, message] : cases) {
        const Status written = writeFile(path, "t <table></table>");
        ASSERT_FALSE(written.ok()) << path;
        EXPECT_THAT(written.error().message, HasSubstr(message));
    }
    EXPECT_THAT(files(), ::testing::ElementsAre("file"));
}

#ifndef _WIN32  // Windows refuses to remove a folder while a file in it is open
TEST_F(AtomicFileWriterTest, APageThatCannotBePutInPlaceIsAFailure) {
    // The folder goes away while the page is written: the rename at the commit fails.
    fs::create_directories(m_folder / "gone");
    Result<AtomicFileWriter> writer = AtomicFileWriter::open(m_folder / "gone" / "page.html");
    ASSERT_TRUE(writer.ok());
    writer.value().write("page");
    fs::remove_all(m_folder / "gone");
    const Status committed = writer.value().commit();
    ASSERT_FALSE(committed.ok());
    EXPECT_THAT(committed.error().message, HasSubstr("page.html': " + SystemErrorText(ENOENT)));
}
#endif

TEST_F(AtomicFileWriterTest, APageReplacesTheEarlierOneOnlyWhenCommitted) {
    const fs::path path = m_folder / "page.html";
    ASSERT_TRUE(writeFile(path, "earlier <table></table>").ok());
    fs::permissions(path, fs::perms::set_gid | fs::perms::owner_read | fs::perms::owner_write);  // which the page replacing it keeps
    EXPECT_EQ(AtomicFileWriter::open(path).value().method(), AtomicFileWriter::Method::Rename);
    ASSERT_TRUE(writeFile(path, "second <table></table>").ok());
#ifndef _WIN32
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::set_gid | fs::perms::owner_read | fs::perms::owner_write);
#endif
    {
        Result<AtomicFileWriter> writer = AtomicFileWriter::open(path);
        ASSERT_TRUE(writer.ok());
        writer.value().write("\"<html>half a page");
        // Destroyed without commit, as when composing fails part-way.
    }
    EXPECT_EQ(ReadWholeFile(path).value(), "second <table></table>");
    EXPECT_THAT(files(), ::testing::ElementsAre("page.html"));
}

#ifndef _WIN32
TEST_F(AtomicFileWriterTest, ALinkIsWrittenThroughAndStaysALinkEvenWhenItsFileIsMissing) {
    std::ofstream(m_folder / "real.html") << "old";
    // A chain is followed to 39 links; one more is refused, as a loop would be.
    for (int i = 1; i <= 40; ++i) fs::create_symlink(i == 1 ? m_folder / "real.html" : fs::path(std::to_string(i - 1)), m_folder / std::to_string(i));
    fs::create_symlink("missing.html", m_folder / "dangling.html");
    for (const char* name : {"39", "dangling.html"}) {
        ASSERT_TRUE(writeFile(m_folder / name, "t <table></table>").ok()) << name;
        EXPECT_TRUE(fs::is_symlink(m_folder / name)) << name;
    }
    EXPECT_EQ(ReadWholeFile(m_folder / "real.html").value(), "t <table></table>");
    EXPECT_EQ(ReadWholeFile(m_folder / "missing.html").value(), "t <table></table>");
    const Status loop = writeFile(m_folder / "40", "40 links");
    ASSERT_FALSE(loop.ok());
    EXPECT_EQ(loop.error().message, "cannot write '" + (m_folder / "40").string() + "': " + SystemErrorText(ELOOP));
}
#endif

TEST_F(AtomicFileWriterTest, ACopyIsWholeOrNothingAndJapaneseNamesAreWrittenCopiedAndListed) {
    const fs::path folder = m_folder / fs::path(u8"ページ");
    fs::create_directories(folder);
    const fs::path from = folder / fs::path(u8"20261205_184607_猫の写真.html");
    const fs::path to = folder / fs::path(u8"保存.html");
    ASSERT_TRUE(writeFile(from, "\x94\x4C").ok());  // two bytes: the last read is that short
    ASSERT_TRUE(writeFile(to, "an older file that is longer than the page, so truncation matters").ok());
    ASSERT_TRUE(CopyFileWhole(from, to).ok());
    EXPECT_EQ(ReadWholeFile(to).value(), "\x94\x4C");
    std::vector<fs::path> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
    EXPECT_THAT(names, ::testing::UnorderedElementsAre(from.filename(), to.filename()));

    const Status missing = CopyFileWhole(m_folder / "gone.html", to);
    ASSERT_FALSE(missing.ok());
    EXPECT_THAT(missing.error().message, HasSubstr("gone.html"));
    EXPECT_EQ(ReadWholeFile(to).value(), "\x94\x4C");
    EXPECT_FALSE(CopyFileWhole(from, m_folder / "no" / "saved.html").ok());
}

TEST_F(AtomicFileWriterTest, AFileOfTheSameNameIsKeptWhenAsked) {
    const fs::path path = m_folder / "page.html";
    ASSERT_TRUE(writeFile(path, "another run's page").ok());
    const Result<AtomicFileWriter> refused = AtomicFileWriter::open(path, AtomicFileWriter::Existing::Keep);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().message, "cannot write '" + path.string() + "': the file already exists");

    // The name may also appear while the page is being written: the commit then fails.
    const fs::path later = m_folder / "later.html";
    Result<AtomicFileWriter> writer = AtomicFileWriter::open(later, AtomicFileWriter::Existing::Keep);
    ASSERT_TRUE(writer.ok());
    writer.value().write("mine");
    std::ofstream(later) << "theirs";
    EXPECT_THAT(writer.value().commit().error().message, HasSubstr("': the file already exists"));
    EXPECT_EQ(ReadWholeFile(later).value(), "theirs");
    EXPECT_THAT(files(), ::testing::UnorderedElementsAre("page.html", "later.html"));
}

TEST_F(AtomicFileWriterTest, AFileIsReadWholeUpToItsLimitAndAFolderIsRefusedAsOne) {
    EXPECT_EQ(ReadWholeFile(file("three.txt", "abc"), 3).value(), "abc");
    EXPECT_THAT(ReadWholeFile(m_folder).error().message, HasSubstr("': it is a folder"));
}

#ifndef _WIN32
TEST_F(AtomicFileWriterTest, AFileWithOtherHardLinksIsWrittenInPlace) {
    const fs::path path = m_folder / "page.html";
    const fs::path other = m_folder / "other-name.html";
    std::ofstream(path) << "an old page that is longer than the new one";
    fs::create_hard_link(path, other);
    Result<AtomicFileWriter> writer = AtomicFileWriter::open(path);
    ASSERT_TRUE(writer.ok());
    EXPECT_EQ(writer.value().method(), AtomicFileWriter::Method::InPlace);
    writer.value().write("1");  // a single byte, the smallest write
    ASSERT_TRUE(writer.value().commit().ok());
    EXPECT_EQ(ReadWholeFile(other).value(), "1");
    EXPECT_THAT(files(), ::testing::UnorderedElementsAre("page.html", "other-name.html"));

    // The name is removed before the commit: nothing was touched, so that is all the error says.
    Result<AtomicFileWriter> again = AtomicFileWriter::open(path);
    fs::remove(path);
    EXPECT_EQ(again.value().commit().error().message, "cannot write '" + path.string() + "': " + SystemErrorText(ENOENT));
}

#endif

#ifdef __linux__
TEST_F(AtomicFileWriterTest, AReplacementKeepsTheAccessControlListAndAttributesAndNeverWidensAccess) {
    const fs::path path = file("page.html", "old");
    // The owner and user 1234 may write; the group and others only read. With the list, the
    // group's permission bits show the mask (rw-), which the group itself does not have.
    std::string acl("\x02\0\0\0", 4);
    for (const auto& [tag, perm, id] : {std::tuple(1, 6, -1), std::tuple(2, 6, 1234), std::tuple(4, 4, -1),
                                        std::tuple(0x10, 6, -1), std::tuple(0x20, 4, -1)}) {
        const std::uint16_t entry[4] = {static_cast<std::uint16_t>(tag), static_cast<std::uint16_t>(perm),
                                        static_cast<std::uint16_t>(id), static_cast<std::uint16_t>(id >> 16)};
        acl.append(reinterpret_cast<const char*>(entry), sizeof entry);
    }
    if (::setxattr(path.c_str(), "user.origin", "camera", 6, 0) != 0 ||
        ::setxattr(path.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) != 0) {
        GTEST_SKIP() << "this file system keeps no extended attributes or access control lists";
    }
    const auto attribute = [&](const char* name) {
        std::string value(256, '\0');
        value.resize(static_cast<std::size_t>(std::max<ssize_t>(::getxattr(path.c_str(), name, value.data(), value.size()), 0)));
        return value;
    };
    const fs::perms before = fs::status(path).permissions();
    ASSERT_TRUE(writeFile(path, "new").ok());
    EXPECT_EQ(attribute("user.origin"), "camera");
    EXPECT_EQ(attribute("system.posix_acl_access"), acl);
    EXPECT_EQ(fs::status(path).permissions(), before);
}
#endif

}  // namespace
}  // namespace moza
