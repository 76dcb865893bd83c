// The three list pages: their buttons, keys, popup menus, in-place editing and the entry
// dialog, and the transfer of a caller's number into the database.
#include <windows.h>

#include <commctrl.h>

#include "base/ScopedFlag.h"
#include "base/StringTable.h"
#include "ui/win/ConfigDialog.h"
#include "ui/win/ConfigDialogLayout.h"
#include "ui/win/ConfigLists.h"
#include "ui/win/ContactFiles.h"
#include "ui/win/EntryDialog.h"
#include "ui/win/ImportDialog.h"
#include "ui/win/MessageDialogs.h"

namespace telvor {

namespace {

constexpr unsigned kDeleteAllCallsQuestionId = 20015;

bool KeyDown(int key) {
    return (GetKeyState(key) & 0x8000) != 0;
}

// The focus leaves a button that a command made pointless (its row is gone) for the list.
void FocusListFrom(Form& form, const char* button, const char* list) {
    if (GetFocus() == form.Control(button)) SetFocus(form.Control(list));
}

}  // namespace

void TConfigureForm::WireListHandlers() {
    Form& form = *form_;
    form.OnClick("HinzuB", [this] { HinzuBClick(); });
    form.OnClick("ImportierenB", [this] { ImportBClick(); });
    form.OnClick("LoeschenB", [this] { LoeschenBClick(); });
    form.OnClick("EigenschaftenB", [this] { EigenschaftenBClick(); });
    form.OnClick("Hinzu2B", [this] { Hinzu2BClick(); });
    form.OnClick("Loeschen2B", [this] { Loeschen2BClick(); });
    form.OnClick("Eigenschaften2B", [this] { Eigenschaften2BClick(); });
    form.OnClick("DelCallB", [this] { DelCallBClick(); });
    form.OnClick("DelAllCallsB", [this] { DelAllCallsBClick(); });
    form.OnClick("ToDatabaseB", [this] { ToDatabaseBClick(); });

    form.OnNotify("ListViewL", NM_DBLCLK, [this](NMHDR&) -> LRESULT {
        EigenschaftenBClick();
        return 0;
    });
    form.OnNotify("MSNLV", NM_DBLCLK, [this](NMHDR&) -> LRESULT {
        Eigenschaften2BClick();
        return 0;
    });
    form.OnNotify("CallsLV", NM_DBLCLK, [this](NMHDR&) -> LRESULT {
        ToDatabaseBClick();
        return 0;
    });
    for (const char* list : {"CallsLV", "ListViewL", "MSNLV"}) {
        form.OnNotify(list, NM_RCLICK, [this, list](NMHDR&) -> LRESULT {
            PopupAtCursor(list);
            return 0;
        });
        form.OnNotify(list, NM_SETFOCUS, [this, list](NMHDR&) -> LRESULT {
            lists_->FocusEntered(list);
            return 0;
        });
        form.OnNotify(list, LVN_KEYDOWN, [this, list](NMHDR& hdr) -> LRESULT {
            ListKeyDown(list, reinterpret_cast<NMLVKEYDOWN&>(hdr).wVKey);
            return 0;
        });
    }
    form.OnNotify("MSNLV", LVN_ITEMCHANGED, [this](NMHDR& hdr) -> LRESULT {
        const auto& change = reinterpret_cast<NMLISTVIEW&>(hdr);
        if ((change.uChanged & LVIF_STATE) &&
            ((change.uNewState ^ change.uOldState) & LVIS_SELECTED))
            LoadServiceBoxes();
        return 0;
    });
    lists_->OnListKeys(
        [this](const char* list, WORD key, bool alt) { return ListSystemKey(list, key, alt); },
        [this](const char* list) { PopupAtCursor(list); });
    lists_->SetEditEnded([this](bool changed) {
        if (changed) Changed();
    });
}

void TConfigureForm::ListKeyDown(const char* list, WORD key) {
    if (lists_->Editing()) return;
    const std::string name = list;
    const bool names = name == "ListViewL";
    const bool msns = name == "MSNLV";
    if (key == VK_DELETE) {
        if (names && lists_->HasSelection(EntryList::Names)) LoeschenBClick();
        if (msns && lists_->HasSelection(EntryList::Msns)) Loeschen2BClick();
        if (name == "CallsLV") DelCallBClick();
        return;
    }
    if (key == VK_F2 && (names || msns)) {
        lists_->StartInPlaceEdit(names ? EntryList::Names : EntryList::Msns);
    }
}

// Alt+Enter and Shift+F10. Other system keys (Alt+letter, F10 alone) go on to the dialog's
// mnemonics and the system menu.
bool TConfigureForm::ListSystemKey(const char* list, WORD key, bool alt) {
    if (key == VK_F10 && KeyDown(VK_SHIFT)) {
        if (!lists_->Editing()) PopupAtCursor(list);
        return true;
    }
    if (key != VK_RETURN || !alt) return false;
    if (!lists_->Editing()) {
        const std::string name = list;
        if (name == "ListViewL") EigenschaftenBClick();
        if (name == "MSNLV") Eigenschaften2BClick();
    }
    return true;
}

// The keyboard's popup opens where the mouse cursor is, as the right click's does.
void TConfigureForm::PopupAtCursor(const char* list) {
    POINT at{};
    GetCursorPos(&at);
    RunPopup(list, at);
}

void TConfigureForm::RunPopup(const char* list, POINT at) {
    switch (lists_->PopupMenu(list, at)) {
        case ConfigLists::NamesAdd:
            HinzuBClick();
            break;
        case ConfigLists::NamesDelete:
            LoeschenBClick();
            break;
        case ConfigLists::NamesImport:
            ImportBClick();
            break;
        case ConfigLists::NamesProperties:
            EigenschaftenBClick();
            break;
        case ConfigLists::NamesExport:
            ExportNamesClick();
            break;
        case ConfigLists::CallsDelete:
            DelCallBClick();
            break;
        case ConfigLists::CallsToDatabase:
            ToDatabaseBClick();
            break;
        case ConfigLists::MsnAdd:
            Hinzu2BClick();
            break;
        case ConfigLists::MsnDelete:
            Loeschen2BClick();
            break;
        case ConfigLists::MsnProperties:
            Eigenschaften2BClick();
            break;
        default:
            break;
    }
}

// --- names ---------------------------------------------------------------------------------

void TConfigureForm::HinzuBClick() {
    flow_.AddEntry(*this);
}

void TConfigureForm::EigenschaftenBClick() {
    flow_.Properties(*this, EntryList::Names);
}

void TConfigureForm::LoeschenBClick() {
    CallerRow row;
    if (!lists_->Selected(EntryList::Names, row)) return;
    if (!Confirm(DeleteEntryQuestion(row), form_->Handle())) return;
    lists_->DeleteSelected(EntryList::Names);
    FocusListFrom(*form_, "LoeschenB", "ListViewL");
    Changed();
}

// The rows of the chosen file join the names list at its end; nothing is stored before an
// apply. `Changed` also for a file without lines: the user did import something.
void TConfigureForm::ImportBClick() {
    const std::optional<std::vector<CallerRow>> rows =
        RunImportDialog(form_->Handle(), *links_.store, *links_.areaCodes, NameRows());
    if (!rows) return;
    lists_->AddNames(*rows);
    Changed();
}

// "Einträge &exportieren...": the names list as it stands, applied or not.
void TConfigureForm::ExportNamesClick() {
    ExportNamesToFile(form_->Handle(), NameRows());
}

// --- MSNs ----------------------------------------------------------------------------------

void TConfigureForm::Hinzu2BClick() {
    flow_.AddMsn(*this);
}

void TConfigureForm::Eigenschaften2BClick() {
    flow_.Properties(*this, EntryList::Msns);
}

void TConfigureForm::Loeschen2BClick() {
    if (!lists_->HasSelection(EntryList::Msns)) return;
    FocusListFrom(*form_, "Loeschen2B", "MSNLV");
    lists_->DeleteSelected(EntryList::Msns);
    Changed();
}

// --- calls ---------------------------------------------------------------------------------

void TConfigureForm::DelCallBClick() {
    if (lists_->DeleteSelectedCalls() > 0) {
        Changed();
        FocusListFrom(*form_, "DelCallB", "CallsLV");
    }
}

void TConfigureForm::DelAllCallsBClick() {
    if (!Confirm(LoadStr(kDeleteAllCallsQuestionId), form_->Handle())) return;
    lists_->DeleteAllCalls();
    Changed();
}

// Only a caller who is not in the database yet can be taken over.
void TConfigureForm::ToDatabaseBClick() {
    const std::optional<CallRow> call = lists_->SelectedCall();
    if (!call || !call->notInDatabase) return;
    flow_.TakeNumber(*this, call->caption);
}

void TConfigureForm::AddNumberToDatabase(const std::string& number) {
    const bool busy = links_.dialogBusy && *links_.dialogBusy;
    if (Visible() || busy) {
        ShowNonModal();
        return;
    }
    ShowNonModal();
    flow_.TakeNumber(*this, number);
}

// --- the entry flows' port -----------------------------------------------------------------

void TConfigureForm::AppendNewRow(EntryList list) {
    lists_->AppendNew(list);
    const char* button = list == EntryList::Names ? "HinzuB" : "Hinzu2B";
    if (GetFocus() == form_->Control(button)) SetFocus(lists_->ListOf(list));
}

int TConfigureForm::SelectedRow(EntryList list, CallerRow& row) {
    return lists_->SelectedIndex(list, row);
}

void TConfigureForm::SetRow(EntryList list, int index, const CallerRow& row) {
    lists_->SetAt(list, index, row);
}

void TConfigureForm::DeleteRow(EntryList list, int index) {
    lists_->DeleteAt(list, index);
}

void TConfigureForm::ShowNamesPage() {
    ShowAndFocus(kNamesPage, "ListViewL");
}

bool TConfigureForm::EditEntry(EntryList mode, EntryFields& fields) {
    ScopedFlag busy(*links_.dialogBusy);
    return RunEntryDialog(*links_.entry, mode, fields, DmWhen());
}

}  // namespace telvor
