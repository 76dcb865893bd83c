#include "ui/win/ConfigLists.h"

namespace telvor {

struct ConfigLists::Impl {};

bool RunEntryDialog(TEditDbEntry&, EntryMode, EntryFields&, HWND) { return false; }

ConfigLists::ConfigLists(Form&) : impl_(std::make_unique<Impl>()) {}
ConfigLists::~ConfigLists() = default;
void ConfigLists::Clear() {}
void ConfigLists::Load(SettingsStore&, const AppSettings&) {}
void ConfigLists::ConvertNames(const std::function<void(std::vector<CallerRow>&, SettingsStore&)>&,
                               SettingsStore&) {}
void ConfigLists::ApplyLayouts(SettingsStore&, int) {}
void ConfigLists::SaveLayouts(SettingsStore&) {}
ConfigContent ConfigLists::Content() const { return {}; }
void ConfigLists::AddCall(const CallRow&) {}
std::size_t ConfigLists::CallCount() const { return 0; }
void ConfigLists::AddNames(const std::vector<CallerRow>&) {}
void ConfigLists::AppendNew(EntryMode) {}
bool ConfigLists::Selected(EntryMode, CallerRow&) const { return false; }
void ConfigLists::SetSelected(EntryMode, const CallerRow&) {}
void ConfigLists::DeleteSelected(EntryMode) {}
bool ConfigLists::HasSelection(EntryMode) const { return false; }
bool ConfigLists::SelectedMsnFlags(MsnFlags&) const { return false; }
bool ConfigLists::SetSelectedMsnFlag(int, bool) { return false; }
std::optional<CallRow> ConfigLists::SelectedCall() const { return {}; }
int ConfigLists::DeleteSelectedCalls() { return 0; }
void ConfigLists::DeleteAllCalls() {}
void ConfigLists::StartInPlaceEdit(EntryMode) {}
bool ConfigLists::EndInPlaceEdit(bool) { return false; }
bool ConfigLists::Editing() const { return false; }
std::optional<std::string> ConfigLists::TakeEditedCaption(EntryMode, const std::string&, bool&) {
    return {};
}
void ConfigLists::FocusEntered(const char*) {}
UINT ConfigLists::PopupMenu(const char*, POINT) { return 0; }
HWND ConfigLists::ListOf(EntryMode) const { return nullptr; }

}  // namespace telvor
