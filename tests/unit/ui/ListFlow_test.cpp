// The editing flows of the names and MSN lists against a fake of the lists and the entry
// dialog: adding, cancelling, quiet adding from the call list, the dmail check box rules.
#include "ui/ListFlow.h"

#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <vector>

#include "base/StringTable.h"

namespace telvor {
namespace {

class FakeLists : public ListFlowPort {
  public:
    struct List {
        std::vector<CallerRow> rows;
        std::optional<std::size_t> selected;
    };

    void AppendNewRow(EntryList list) override {
        List& l = lists[list];
        CallerRow row;
        row.number = list == EntryList::Names ? NewEntryCaption : NewMsnCaption;
        l.rows.push_back(row);
        l.selected = l.rows.size() - 1;
    }
    int SelectedRow(EntryList list, CallerRow& row) override {
        List& l = lists[list];
        if (!l.selected) return -1;
        row = l.rows[*l.selected];
        return static_cast<int>(*l.selected);
    }
    void SetRow(EntryList list, int index, const CallerRow& row) override {
        lists[list].rows.at(static_cast<std::size_t>(index)) = row;
    }
    void DeleteRow(EntryList list, int index) override {
        List& l = lists[list];
        l.rows.erase(l.rows.begin() + index);
        l.selected.reset();
    }
    bool EditEntry(EntryList mode, EntryFields& fields) override {
        ++dialogs;
        dialogMode = mode;
        shownFields = fields;
        if (whileOpen) whileOpen();  // what the user does behind the dialog
        if (!answer) return false;
        fields = *answer;
        return true;
    }
    void ShowNamesPage() override { ++namesPageShown; }
    int DmWhen() override { return dmWhen; }
    void Changed() override { ++changes; }

    std::map<EntryList, List> lists;
    std::optional<EntryFields> answer;  // nothing: the user cancels
    std::function<void()> whileOpen;
    EntryFields shownFields;
    EntryList dialogMode = EntryList::Names;
    int dmWhen = 2;
    int dialogs = 0;
    int changes = 0;
    int namesPageShown = 0;
};

class ListFlowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        LoadStartupTexts();
        lists.lists[EntryList::Names].rows = {{"0711", "Hans", "", ""}};
    }
    std::vector<CallerRow>& Names() { return lists.lists[EntryList::Names].rows; }
    FakeLists lists;
    ListFlow flow;
};

TEST_F(ListFlowTest, AddingAnEntryAndCancellingLeavesTheListAsBefore) {
    flow.AddEntry(lists);
    EXPECT_EQ(lists.dialogs, 1);
    EXPECT_EQ(lists.shownFields.number, "Neuer Eintrag");
    EXPECT_EQ(Names().size(), 1u);
    EXPECT_EQ(lists.changes, 0);
    EXPECT_FALSE(flow.NewRowPending);
}

TEST_F(ListFlowTest, AddingAnEntryWithOkTakesTheFields) {
    EntryFields typed;
    typed.number = "089 1";
    typed.name = "Anna";
    typed.program = "c:\\a \"b\".exe";
    typed.parameter = "-p";
    typed.dmailEnabled = true;
    typed.dmailChecked = true;
    lists.answer = typed;
    flow.AddEntry(lists);
    ASSERT_EQ(Names().size(), 2u);
    EXPECT_EQ(Names()[1].number, "089 1");
    EXPECT_EQ(Names()[1].name, "Anna");
    EXPECT_EQ(Names()[1].programColumn, "\"c:\\a b.exe\" -p");  // quotes of the path dropped
    EXPECT_EQ(Names()[1].dmailColumn, "X");
    EXPECT_EQ(lists.changes, 1);
}

TEST_F(ListFlowTest, NumberFromTheCallListCancelledRemovesTheRowButStaysChanged) {
    flow.TakeNumber(lists, "0711 4711");
    EXPECT_EQ(lists.namesPageShown, 1);
    EXPECT_EQ(lists.shownFields.number, "0711 4711");
    EXPECT_EQ(Names().size(), 1u);
    EXPECT_EQ(lists.changes, 1);  // the quiet add already marked the dialog changed
    EXPECT_FALSE(flow.QuietAdd);
    EXPECT_FALSE(flow.NewRowPending);
}

TEST_F(ListFlowTest, NumberFromTheCallListConfirmedIsKept) {
    flow.QuietAdd = false;
    EntryFields typed;
    typed.number = "0711 4711";
    typed.name = "Neu";
    lists.answer = typed;
    flow.TakeNumber(lists, "0711 4711");
    ASSERT_EQ(Names().size(), 2u);
    EXPECT_EQ(Names()[1].name, "Neu");
    EXPECT_EQ(lists.dialogs, 1);  // the quiet add opened no dialog of its own
}

TEST_F(ListFlowTest, PropertiesWithoutSelectionOnlyClearThePendingFlag) {
    flow.NewRowPending = true;
    flow.Properties(lists, EntryList::Names);
    EXPECT_EQ(lists.dialogs, 0);
    EXPECT_FALSE(flow.NewRowPending);
}

TEST_F(ListFlowTest, CancellingPropertiesOfAnExistingRowKeepsIt) {
    lists.lists[EntryList::Names].selected = 0;
    flow.Properties(lists, EntryList::Names);
    EXPECT_EQ(Names().size(), 1u);
    EXPECT_EQ(lists.changes, 0);
}

TEST_F(ListFlowTest, AddingAnMsnIsChangedEvenWhenCancelled) {
    flow.AddMsn(lists);
    EXPECT_EQ(lists.dialogMode, EntryList::Msns);
    EXPECT_EQ(lists.shownFields.number, "Neue MSN");
    EXPECT_TRUE(lists.lists[EntryList::Msns].rows.empty());
    EXPECT_EQ(lists.changes, 1);
}

// Whatever is selected or pressed behind the open entry dialog, the flow writes (or removes)
// only the row it started with, and a second flow does not start inside the first.
TEST_F(ListFlowTest, AFlowActsOnTheRowItStartedWithAndDoesNotNest) {
    Names().push_back({"089 1", "Anna", "", ""});
    auto& names = lists.lists[EntryList::Names];
    names.selected = 0;
    EntryFields typed;
    typed.number = "0711";
    typed.name = "Hans Neu";
    lists.answer = typed;
    lists.whileOpen = [&] {
        names.selected = 1;    // another row clicked behind the dialog
        flow.AddEntry(lists);  // "&Neu" pressed behind it
        flow.Properties(lists, EntryList::Names);
        EXPECT_TRUE(flow.Running());
    };
    flow.Properties(lists, EntryList::Names);
    ASSERT_EQ(Names().size(), 2u);
    EXPECT_EQ(Names()[0].name, "Hans Neu");
    EXPECT_EQ(Names()[1].name, "Anna") << "the row selected meanwhile is untouched";
    EXPECT_EQ(lists.dialogs, 1);
    EXPECT_FALSE(flow.Running());

    // "&Neu", then "Abbrechen" with the first row selected meanwhile: only the new row goes.
    lists.answer.reset();
    lists.whileOpen = [&] { names.selected = 0; };
    flow.AddEntry(lists);
    ASSERT_EQ(Names().size(), 2u);
    EXPECT_EQ(Names()[0].name, "Hans Neu");
    EXPECT_EQ(Names()[1].name, "Anna");
}

TEST(EntryFields, NotificationBoxFollowsTheDmailMode) {
    const CallerRow flagged{"1", "a", "", "X"};
    const CallerRow plain{"1", "a", "", ""};
    for (int mode : {0, 1}) {
        EXPECT_FALSE(FieldsFromRow(plain, mode).dmailEnabled);
        EXPECT_TRUE(FieldsFromRow(plain, mode).dmailChecked);
    }
    EXPECT_TRUE(FieldsFromRow(plain, 2).dmailEnabled);
    EXPECT_FALSE(FieldsFromRow(plain, 2).dmailChecked);
    EXPECT_TRUE(FieldsFromRow(flagged, 2).dmailChecked);
    EXPECT_FALSE(FieldsFromRow(flagged, 3).dmailEnabled);
    EXPECT_FALSE(FieldsFromRow(flagged, 3).dmailChecked);
}

TEST(EntryFields, DisabledNotificationBoxLeavesTheFlagColumnAlone) {
    CallerRow row{"1", "a", "", "X"};
    EntryFields f = FieldsFromRow(row, 3);  // "nie"
    TakeFields(f, row);
    EXPECT_EQ(row.dmailColumn, "X");
}

TEST(EntryFields, BlankProgramAndParametersGiveAnEmptyColumn) {
    CallerRow row{"1", "a", "\"x.exe\" y", ""};
    EntryFields f = FieldsFromRow(row, 0);
    EXPECT_EQ(f.program, "x.exe");
    EXPECT_EQ(f.parameter, "y");
    f.program = "  ";
    f.parameter = " ";
    TakeFields(f, row);
    EXPECT_EQ(row.programColumn, "");
    f.program = " x.exe";  // untrimmed when kept
    f.parameter = "";
    TakeFields(f, row);
    EXPECT_EQ(row.programColumn, "\" x.exe\" ");
}

TEST(EntryFields, DeleteQuestionNamesNumberAndName) {
    LoadStartupTexts();
    EXPECT_EQ(DeleteEntryQuestion({"0711", "Hans", "", ""}),
              "Wollen Sie den Eintrag '0711  -  Hans' wirklich löschen?");
}

}  // namespace
}  // namespace telvor
