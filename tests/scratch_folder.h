// A fresh folder of the test's own under the system's temp folder, removed after the test. Its
// name holds a random number, so runs of the same test at once (two builds, a mutation run) do
// not meet in it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace moza::testing {

class ScratchFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder =
            std::filesystem::temp_directory_path() / ("moza-" + std::string(test->test_suite_name()) + "-" +
                                                      test->name() + "-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(m_folder);
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    /// Writes `bytes` to `name` in the folder and returns its path.
    std::filesystem::path file(const std::string& name, const std::string& bytes) const {
        std::ofstream(m_folder / name, std::ios::binary) << bytes;
        return m_folder / name;
    }

    /// The names in the folder, not looking into folders in it.
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_folder))
            names.push_back(entry.path().filename().string());
        return names;
    }

    std::filesystem::path m_folder;
};

}  // namespace moza::testing
