#pragma once
// The editing flows of the names list and the MSN list: adding a row, editing it in the entry
// dialog, taking a caller's number from the call list into the database. The dialog's two
// flags QuietAdd and NewRowPending live here; the lists and the entry dialog are a port.
#include <string>

#include "store/CallerDatabase.h"

namespace telvor {

enum class EntryList { Names, Msns };

// The fields of the entry dialog.
struct EntryFields {
    std::string number;
    std::string name;
    std::string program;
    std::string parameter;
    bool dmailEnabled = false;
    bool dmailChecked = false;
};

// The dialog's fields for a row; the notification box is enabled only for dmail mode 2
// ("...bestimmten Anrufern/MSNs"), checked for modes 0 and 1, from the row for mode 2.
EntryFields FieldsFromRow(const CallerRow& row, int dmWhen);
// "Ok": the row takes the fields. The program column is empty when program and parameters are
// blank after trimming spaces; a disabled notification box leaves the dmail column alone.
void TakeFields(const EntryFields& fields, CallerRow& row);

// The question before a names row is deleted (20012 with "number  -  name").
std::string DeleteEntryQuestion(const CallerRow& row);

class ListFlowPort {
  public:
    virtual ~ListFlowPort() = default;
    // A new row at the end of the list ("Neuer Eintrag" or "Neue MSN" with default flags),
    // selected; the focus moves from the list's add button to the list.
    virtual void AppendNewRow(EntryList list) = 0;
    // The selected row's index and texts; -1 when no row is selected. A flow keeps the index
    // it started with and writes back to that row, whatever is selected by then.
    virtual int SelectedRow(EntryList list, CallerRow& row) = 0;
    virtual void SetRow(EntryList list, int index, const CallerRow& row) = 0;
    virtual void DeleteRow(EntryList list, int index) = 0;
    // The entry dialog, modal; true for "Ok".
    virtual bool EditEntry(EntryList mode, EntryFields& fields) = 0;
    // The names page in front, its list focused.
    virtual void ShowNamesPage() = 0;
    virtual int DmWhen() = 0;
    virtual void Changed() = 0;
};

class ListFlow {
  public:
    bool QuietAdd = false;
    bool NewRowPending = false;

    // Each showing of the dialog starts without pending additions.
    void Reset() { QuietAdd = NewRowPending = false; }
    // A flow is waiting for its entry dialog. A second flow started meanwhile (a command
    // that slipped past the dialog's modality) does nothing: it would overwrite the first
    // one's row or clear its pending addition.
    bool Running() const { return running_; }

    // "&Neu" of the names list: in quiet mode only Changed, else the entry dialog.
    void AddEntry(ListFlowPort& port);
    // "&Neu" of the MSN list: the entry dialog, then Changed even when it was cancelled.
    void AddMsn(ListFlowPort& port);
    // The entry dialog on the selected row; cancelling a row just added removes it again.
    void Properties(ListFlowPort& port, EntryList list);
    // A number for the database (call list or caller window): a new names row captioned with
    // it, the names page, the entry dialog on it.
    void TakeNumber(ListFlowPort& port, const std::string& number);

  private:
    void AddNamesRow(ListFlowPort& port);
    void EditRow(ListFlowPort& port, EntryList list);
    bool running_ = false;
};

}  // namespace telvor
