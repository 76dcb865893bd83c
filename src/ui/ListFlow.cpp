#include "ui/ListFlow.h"

#include "base/ScopedFlag.h"
#include "base/StringTable.h"

namespace telvor {
namespace {

constexpr unsigned kDeleteEntryQuestionId = 20012;
constexpr int kDmWhenChosen = 2;  // "...bestimmten Anrufern/MSNs"
constexpr int kDmWhenNever = 3;   // "nie"

bool BlankAfterTrim(const std::string& text) {
    return text.find_first_not_of(' ') == std::string::npos;
}

}  // namespace

EntryFields FieldsFromRow(const CallerRow& row, int dmWhen) {
    EntryFields f;
    f.number = row.number;
    f.name = row.name;
    SplitProgramColumn(row.programColumn, f.program, f.parameter);
    f.dmailEnabled = dmWhen == kDmWhenChosen;
    if (dmWhen == kDmWhenChosen)
        f.dmailChecked = !row.dmailColumn.empty();
    else
        f.dmailChecked = dmWhen != kDmWhenNever;
    return f;
}

void TakeFields(const EntryFields& f, CallerRow& row) {
    row.number = f.number;
    row.name = f.name;
    if (BlankAfterTrim(f.program) && BlankAfterTrim(f.parameter))
        row.programColumn.clear();
    else
        row.programColumn = JoinProgramColumn(f.program, f.parameter);
    // assign(1, ...) rather than = "X", which GCC 12 misreads as an overlapping copy.
    if (f.dmailEnabled && f.dmailChecked)
        row.dmailColumn.assign(1, 'X');
    else if (f.dmailEnabled)
        row.dmailColumn.clear();
}

std::string DeleteEntryQuestion(const CallerRow& row) {
    return FormatStr(kDeleteEntryQuestionId, {row.number + "  -  " + row.name});
}

void ListFlow::AddEntry(ListFlowPort& port) {
    if (running_) return;
    ScopedFlag running(running_);
    AddNamesRow(port);
}

void ListFlow::AddNamesRow(ListFlowPort& port) {
    NewRowPending = true;
    port.AppendNewRow(EntryList::Names);
    if (QuietAdd) {
        port.Changed();
        return;
    }
    EditRow(port, EntryList::Names);
}

void ListFlow::AddMsn(ListFlowPort& port) {
    if (running_) return;
    ScopedFlag running(running_);
    NewRowPending = true;
    port.AppendNewRow(EntryList::Msns);
    EditRow(port, EntryList::Msns);
    port.Changed();
}

void ListFlow::Properties(ListFlowPort& port, EntryList list) {
    if (running_) return;
    ScopedFlag running(running_);
    EditRow(port, list);
}

void ListFlow::EditRow(ListFlowPort& port, EntryList list) {
    CallerRow row;
    const int index = port.SelectedRow(list, row);
    if (index < 0) {
        NewRowPending = false;
        return;
    }
    EntryFields fields = FieldsFromRow(row, port.DmWhen());
    if (port.EditEntry(list, fields)) {
        TakeFields(fields, row);
        port.SetRow(list, index, row);
        port.Changed();
    } else if (NewRowPending) {
        port.DeleteRow(list, index);
    }
    NewRowPending = false;
}

void ListFlow::TakeNumber(ListFlowPort& port, const std::string& number) {
    if (running_) return;
    ScopedFlag running(running_);
    const bool wasQuiet = QuietAdd;
    QuietAdd = true;
    AddNamesRow(port);
    QuietAdd = wasQuiet;
    CallerRow row;
    const int index = port.SelectedRow(EntryList::Names, row);
    if (index >= 0) {
        row.number = number;
        port.SetRow(EntryList::Names, index, row);
    }
    port.ShowNamesPage();
    EditRow(port, EntryList::Names);
}

}  // namespace telvor
