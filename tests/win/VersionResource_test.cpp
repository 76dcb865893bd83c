// Telvor.exe's version resource names the version of src/base/Version.h, as the settings and
// the package do.
#include <windows.h>

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "base/Version.h"
#include "support/CaseFolder.h"

namespace telvor {
namespace {

TEST(VersionResource, TelvorExeCarriesTheProgramsVersion) {
    const std::string exe = test::BinFile("Telvor.exe");
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version resource in " << exe;
    std::vector<char> data(size);
    ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, size, data.data()));

    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", &value, &length));
    const auto& fixed = *static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(HIWORD(fixed.dwFileVersionMS), TELVOR_VERSION_MAJOR);
    EXPECT_EQ(LOWORD(fixed.dwFileVersionMS), TELVOR_VERSION_MINOR);
    EXPECT_EQ(fixed.dwProductVersionMS, fixed.dwFileVersionMS);

    for (const char* name : {"FileVersion", "ProductVersion"}) {
        const std::string path = std::string("\\StringFileInfo\\040704E4\\") + name;
        ASSERT_TRUE(VerQueryValueA(data.data(), path.c_str(), &value, &length)) << name;
        EXPECT_STREQ(static_cast<const char*>(value), TELVOR_VERSION_TEXT) << name;
    }
}

}  // namespace
}  // namespace telvor
