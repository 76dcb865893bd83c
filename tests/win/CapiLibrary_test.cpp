#include "capi/win/CapiLibrary.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "CapiSimClient.h"
#include "base/StringTable.h"

namespace telvor {
namespace {

struct FailureRecorder {
    std::vector<std::string> shown;
    std::vector<UINT> exits;
    CapiLoadFailure Hooks() {
        return {[this](const std::string& text) { shown.push_back(text); },
                [this](UINT code) { exits.push_back(code); }};
    }
};

TEST(CapiLibrary, MissingLibraryShowsOneErrorWithItsCodeThenExitsWithZero) {
    FailureRecorder failure;
    EXPECT_FALSE(LoadCapiLibrary("NoSuchCapiLibrary.dll", failure.Hooks()));
    ASSERT_EQ(failure.shown.size(), 1u);
    EXPECT_EQ(failure.shown[0], FormatStr(20026, {static_cast<long long>(ERROR_MOD_NOT_FOUND)}));
    EXPECT_EQ(failure.shown[0].rfind("Sie benötigen eine ISDN-Karte mit CAPI 2.0, um Telvor", 0),
              0u);
    EXPECT_NE(failure.shown[0].find("Fehlercode: 126"), std::string::npos);
    EXPECT_EQ(failure.exits, std::vector<UINT>{0});
    EXPECT_FALSE(CapiLibraryLoaded());
    EXPECT_FALSE(CapiFunctions.Complete());
    FreeCapiLibrary();  // nothing to unload
}

TEST(CapiLibrary, LibraryWithoutTheEntryPointsIsTreatedAsMissingAndUnloaded) {
    // A real library that exports none of the CAPI names; our reference to it is dropped.
    const HMODULE before = GetModuleHandleA("version.dll");
    FailureRecorder failure;
    EXPECT_FALSE(LoadCapiLibrary("version.dll", failure.Hooks()));
    ASSERT_EQ(failure.shown.size(), 1u);
    EXPECT_EQ(failure.shown[0], FormatStr(20026, {static_cast<long long>(ERROR_PROC_NOT_FOUND)}));
    EXPECT_EQ(failure.exits, std::vector<UINT>{0});
    EXPECT_FALSE(CapiLibraryLoaded());
    EXPECT_FALSE(CapiFunctions.Complete());
    if (!before) {
        EXPECT_EQ(GetModuleHandleA("version.dll"), nullptr);
    }
}

TEST(CapiLibrary, LoadsByNameBindsAllSixEntriesAndFreesOnce) {
    // Beside the test program lies the simulator, which the usual search order finds first.
    FailureRecorder failure;
    ASSERT_TRUE(LoadCapiLibrary("Capi2032.dll", failure.Hooks()));
    EXPECT_TRUE(failure.shown.empty());
    EXPECT_TRUE(failure.exits.empty());
    EXPECT_TRUE(CapiLibraryLoaded());
    EXPECT_TRUE(CapiFunctions.Complete());
    EXPECT_NE(GetModuleHandleA("Capi2032.dll"), nullptr);

    std::uint8_t profile[64] = {};
    EXPECT_EQ(CapiFunctions.CAPI_GET_PROFILE(profile, 0), 0u);
    EXPECT_GE(profile[0] | (profile[1] << 8), 1);
    // Loading started the simulator's pipe thread. Under Wine a process that ends while a
    // thread of it is still starting can crash on the way out, so wait until it answers.
    EXPECT_TRUE(capisim::Client().Connect(10000));

    FreeCapiLibrary();
    EXPECT_FALSE(CapiLibraryLoaded());
    EXPECT_FALSE(CapiFunctions.Complete());
    // (The simulator pins itself for its control pipe, so the module stays mapped.)
    FreeCapiLibrary();  // a second call has nothing left to do
}

}  // namespace
}  // namespace telvor
