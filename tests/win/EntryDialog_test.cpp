// The entry dialog on real windows: the town shown while a number is typed, the MSN mode
// without town, the notification box for the dmail mode, and the fields taken back on "Ok".
#include "ui/win/EntryDialog.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "store/MemorySettingsStore.h"
#include "support/WinTestSupport.h"

namespace telvor {
namespace {

// Runs `step` inside the dialog's modal loop, once, shortly after it started.
std::function<void()>& PendingStep() {
    static std::function<void()> step;
    return step;
}
void CALLBACK RunPendingStep(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto step = std::move(PendingStep());
    if (step) step();
}
void DuringModal(std::function<void()> step) {
    PendingStep() = std::move(step);
    SetTimer(nullptr, 0, 30, RunPendingStep);
}

struct EntryDialog : ::testing::Test {
    void SetUp() override {
        std::string error;
        dialog = TEditDbEntry::Create(nullptr, error);
        ASSERT_TRUE(dialog) << error;
        areaCodes.SetLines({"N711\tStuttgart", "I49711\tStuttgart international", "N89\tMünchen"});
        dialog->SetTownSources(&store, &areaCodes);
    }
    std::string Town() { return dialog->GetForm().Text("OrtsnetzL"); }
    bool TownVisible() { return IsWindowVisible(dialog->GetForm().Control("OrtsnetzL")); }

    MemorySettingsStore store;
    AreaCodeList areaCodes;
    std::unique_ptr<TEditDbEntry> dialog;
};

TEST_F(EntryDialog, CallerModeLooksUpTheTownOnEveryChangeAndReturnsTheFields) {
    EntryValues values{.number = "0711",
                       .name = "Anna",
                       .program = "c:\\x.exe",
                       .parameter = "-p",
                       .dmail = true,
                       .dmailEnabled = false};
    std::vector<std::string> towns;
    bool boxEnabled = true, boxChecked = false, visible = false;
    DuringModal([&] {
        Form& form = dialog->GetForm();
        visible = TownVisible();
        towns.push_back(Town());
        form.SetText("NummerE", "0049711");
        towns.push_back(Town());
        form.SetText("NummerE", "1234");
        towns.push_back(Town());
        store.WriteString("Settings", "NationalCalls", "");  // read afresh: counts at once
        form.SetText("NummerE", "892");
        towns.push_back(Town());
        boxEnabled = IsWindowEnabled(form.Control("DMailCB"));
        boxChecked = form.Checked("DMailCB");
        form.SetText("NameE", "Bert");
        form.Click("OkB");
    });
    ASSERT_TRUE(dialog->Edit(EntryMode::CallerDatabase, values, 3));
    EXPECT_TRUE(visible);
    EXPECT_EQ(towns,
              (std::vector<std::string>{"Stuttgart", "Stuttgart international", "", "München"}));
    EXPECT_FALSE(boxEnabled);  // "nie": disabled and unchecked
    EXPECT_FALSE(boxChecked);
    EXPECT_FALSE(values.dmailEnabled);
    EXPECT_EQ(values.number, "892");
    EXPECT_EQ(values.name, "Bert");
    EXPECT_EQ(values.program, "c:\\x.exe");
    EXPECT_EQ(values.parameter, "-p");
}

TEST_F(EntryDialog, MsnModeHidesTheTownAndCancelKeepsTheValues) {
    EntryValues values;
    values.number = "4711";
    values.name = "Büro";
    bool visible = true;
    std::string label;
    bool boxEnabled = false;
    DuringModal([&] {
        Form& form = dialog->GetForm();
        form.SetText("NummerE", "0711");
        visible = TownVisible();
        label = form.Text("NummerMSNL");
        boxEnabled = IsWindowEnabled(form.Control("DMailCB"));
        form.SetChecked("DMailCB", true);
        form.Click("AbrechenB");
    });
    EXPECT_FALSE(dialog->Edit(EntryMode::Msn, values, 2));
    EXPECT_FALSE(visible);
    EXPECT_EQ(label, "&MSN");
    EXPECT_TRUE(boxEnabled);
    EXPECT_TRUE(values.dmailEnabled);
    EXPECT_EQ(values.number, "4711");
    EXPECT_FALSE(values.dmail);
}

}  // namespace
}  // namespace telvor
