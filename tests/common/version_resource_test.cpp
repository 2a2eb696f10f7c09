// The Windows version resource, compiled into this test program, read back through the system.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/version.h"

namespace moza {
namespace {

/// The version resource of this program, read the way Explorer reads it.
class VersionResourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t file[MAX_PATH];
        ASSERT_GT(GetModuleFileNameW(nullptr, file, MAX_PATH), 0u);
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(file, &ignored);
        ASSERT_GT(size, 0u) << "the program has no version resource";
        m_block.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(file, 0, size, m_block.data()));
    }
    void* value(const wchar_t* name) {
        void* found = nullptr;
        UINT length = 0;
        return VerQueryValueW(m_block.data(), name, &found, &length) && length > 0 ? found : nullptr;
    }
    std::string text(const wchar_t* name) {
        const auto* wide = static_cast<const wchar_t*>(value(name));
        return wide == nullptr ? std::string("(missing)") : std::string(wide, wide + wcslen(wide));
    }

    std::vector<char> m_block;
};

TEST_F(VersionResourceTest, FileAndProductVersionsAreTheProgramsVersion) {
    EXPECT_EQ(text(L"\\StringFileInfo\\041104B0\\FileVersion"), kVersionText);
    EXPECT_EQ(text(L"\\StringFileInfo\\041104B0\\ProductVersion"), kVersionText);
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value(L"\\"));
    ASSERT_NE(fixed, nullptr);
    char numbers[32];
    std::snprintf(numbers, sizeof numbers, "%u.%02u.%04u", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                  LOWORD(fixed->dwFileVersionLS));
    EXPECT_EQ(std::string(numbers), kVersionText);
}

}  // namespace
}  // namespace moza
