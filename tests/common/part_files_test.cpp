// Part files: short names that say whose they are, and the sweep that removes only stale ones.
#include "common/part_files.h"

#include <gtest/gtest.h>

#include <fstream>

#include "scratch_folder.h"

namespace moza {
namespace {

namespace fs = std::filesystem;

TEST(PartFilesTest, NamesAreShortAndRecognised) {
    const std::string name = NewPartFileName();
    EXPECT_LE(name.size(), 40u);
    EXPECT_TRUE(IsPartFileName(name));
    EXPECT_NE(NewPartFileName(), name);
    for (const char* other : {".moza-part-", ".moza-part-12", ".moza-part-12-", ".moza-part-x-1", ".moza-part-1x2", ".moza-part-1-2x",
                              "moza-part-1-2", ".moza-page-1-2", ".page.html.part-1-2", "20261205_184607_cat.html"})
        EXPECT_FALSE(IsPartFileName(other)) << other;
}

using PartFilesSweepTest = testing::ScratchFolderTest;

TEST_F(PartFilesSweepTest, RemovesOnlyStalePartFilesOfEndedRuns) {
    const fs::path& folder = m_folder;
    // A process id no system hands out; this process; files that are no part files at all; and a
    // folder named like one.
    const std::vector<std::string> names = {".moza-part-999999999-0", NewPartFileName(), "page.html",
                                            ".moza-partial-999999999-0", ".moza-part-999999997-0"};
    fs::create_directory(folder / names[4]);
    for (const std::string& name : names) std::ofstream(folder / name) << "x";
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    std::error_code folderOnWindows;  // which cannot be given a time there
    for (const std::string& name : names) fs::last_write_time(folder / name, old, folderOnWindows);
    std::ofstream(folder / ".moza-part-999999998-0") << "written just now";

    RemoveStalePartFiles(folder, std::chrono::minutes(10));
    EXPECT_FALSE(fs::exists(folder / names[0]));
    for (const std::string& kept : {names[1], names[2], names[3], names[4], std::string(".moza-part-999999998-0")})
        EXPECT_TRUE(fs::exists(folder / kept)) << kept;
}

}  // namespace
}  // namespace moza
