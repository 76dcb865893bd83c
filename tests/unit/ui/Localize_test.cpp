#include "ui/Localize.h"

#include <gtest/gtest.h>

#include <memory>

#include "base/StringTable.h"

namespace telvor {
namespace {

// A control tree in memory, recording the order in which captions were replaced.
struct FakeControl : LocalizeTarget {
    FakeControl(ControlClass c, std::string cap, std::vector<std::string>* log = nullptr)
        : cls(c), caption(std::move(cap)), log(log) {}
    ControlClass cls;
    std::string caption;
    std::vector<std::string> columns;
    std::vector<std::unique_ptr<FakeControl>> children;
    std::vector<std::string>* log;

    FakeControl& Add(ControlClass c, std::string cap) {
        children.push_back(std::make_unique<FakeControl>(c, std::move(cap), log));
        return *children.back();
    }
    ControlClass Class() const override { return cls; }
    std::string Caption() const override { return caption; }
    void SetCaption(const std::string& text) override {
        if (log) log->push_back(caption);
        caption = text;
    }
    int ColumnCount() const override { return static_cast<int>(columns.size()); }
    std::string ColumnCaption(int i) const override { return columns[i]; }
    void SetColumnCaption(int i, const std::string& t) override { columns[i] = t; }
    bool VisitChildren(const std::function<bool(LocalizeTarget&)>& visit) override {
        for (auto& c : children)
            if (!visit(*c)) return false;
        return true;
    }
};

TEST(Localize, RulesFollowTheClassTable) {
    for (auto c : {ControlClass::Form, ControlClass::TabSheet, ControlClass::GroupBox,
                   ControlClass::RadioGroup, ControlClass::Panel}) {
        EXPECT_EQ(RuleFor(c).caption, CaptionRule::Replace);
        EXPECT_TRUE(RuleFor(c).children);
    }
    EXPECT_EQ(RuleFor(ControlClass::PageControl).caption, CaptionRule::Keep);
    EXPECT_TRUE(RuleFor(ControlClass::PageControl).children);
    for (auto c : {ControlClass::PushButton, ControlClass::Label, ControlClass::CheckBox,
                   ControlClass::RadioButton}) {
        EXPECT_EQ(RuleFor(c).caption, CaptionRule::Replace);
        EXPECT_FALSE(RuleFor(c).children);
    }
    for (auto c : {ControlClass::SortListView, ControlClass::DateSortListView}) {
        EXPECT_EQ(RuleFor(c).caption, CaptionRule::Keep);
        EXPECT_TRUE(RuleFor(c).columns);
    }
    EXPECT_EQ(RuleFor(ControlClass::Memo).caption, CaptionRule::PerLine);
    const LocalizeRule other = RuleFor(ControlClass::Other);
    EXPECT_EQ(other.caption, CaptionRule::Keep);
    EXPECT_FALSE(other.columns || other.children);
}

TEST(Localize, ParseCaptionIdAcceptsOnlyIntegers) {
    EXPECT_EQ(ParseCaptionId("3009"), 3009);
    EXPECT_EQ(ParseCaptionId(" 42 "), 42);
    EXPECT_EQ(ParseCaptionId("+7"), 7);
    EXPECT_EQ(ParseCaptionId("-5"), -5);
    EXPECT_EQ(ParseCaptionId("2147483647"), 2147483647);
    EXPECT_EQ(ParseCaptionId("-2147483648"), -2147483647 - 1);
    for (const char* bad : {"", " ", "-", "+", "12a", "a12", "1 2", "0x10", "1.0", "&Ok",
                            "2147483648", "99999999999999999999", "\t1", "1\r"})
        EXPECT_FALSE(ParseCaptionId(bad).has_value()) << bad;
}

TEST(Localize, CaptionErrorNamesTheCaption) {
    std::string text = "untouched";
    LocalizeResult r = LocalizeCaption("&Ok", text);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "'&Ok' ist kein gültiger Integerwert");
    EXPECT_EQ(text, "untouched");
    EXPECT_TRUE(LocalizeCaption("3010", text).ok);
    EXPECT_EQ(text, "");  // an ID without entry is an empty caption, not an error
    EXPECT_TRUE(LocalizeCaption("-3", text).ok);
    EXPECT_EQ(text, "");
}

TEST(Localize, MemoReplacesWholeIntegerLinesOnly) {
    EXPECT_EQ(LocalizeLines("3004\r\nfrei 3004\r\n 20017\r\n\r\n50"),
              "Anrufer:\r\nfrei 3004\r\nNeue MSN\r\n\r\n");
    EXPECT_EQ(LocalizeLines("1\n2"), "Telvor einrichten\nOk");
    EXPECT_EQ(LocalizeLines(""), "");
    EXPECT_EQ(LocalizeLines("text\r\n"), "text\r\n");
}

TEST(Localize, TreeVisitsEveryClassByItsRule) {
    std::vector<std::string> log;
    FakeControl form(ControlClass::Form, "1", &log);
    FakeControl& pages = form.Add(ControlClass::PageControl, "999999");
    FakeControl& sheet = pages.Add(ControlClass::TabSheet, "5");
    FakeControl& calls = sheet.Add(ControlClass::DateSortListView, "not an id");
    calls.columns = {"12", "13", "14"};
    FakeControl& names = sheet.Add(ControlClass::SortListView, "");
    names.columns = {"16", "17", "18", "69"};
    FakeControl& plain = sheet.Add(ControlClass::Other, "edit text");
    FakeControl& group = form.Add(ControlClass::GroupBox, "38");
    FakeControl& radio = group.Add(ControlClass::RadioButton, "40");
    FakeControl& radios = form.Add(ControlClass::RadioGroup, "60");
    for (const char* id : {"61", "62", "63", "64"}) radios.Add(ControlClass::RadioButton, id);
    FakeControl& panel = form.Add(ControlClass::Panel, "50");
    FakeControl& inPanel = panel.Add(ControlClass::CheckBox, "32");
    FakeControl& button = form.Add(ControlClass::PushButton, "3011");
    FakeControl& label = form.Add(ControlClass::Label, "3010");
    FakeControl& memo = form.Add(ControlClass::Memo, "3004\r\nfrei");

    ASSERT_TRUE(LocalizeTree(form).ok);
    EXPECT_EQ(form.caption, "Telvor einrichten");
    EXPECT_EQ(pages.caption, "999999");
    EXPECT_EQ(sheet.caption, "Anrufe");
    EXPECT_EQ(calls.caption, "not an id");
    EXPECT_EQ(calls.columns, (std::vector<std::string>{"Name/Nummer", "MSN", "Datum/Uhrzeit"}));
    EXPECT_EQ(names.columns[3], "dmail");
    EXPECT_EQ(plain.caption, "edit text");
    EXPECT_EQ(group.caption, "Mitteilungsfenster");
    EXPECT_EQ(radio.caption, "Fenster &schließen nach");
    EXPECT_EQ(radios.caption, "&Verschicke Nachrichten bei...");
    EXPECT_EQ(radios.children[3]->caption, "nie");
    EXPECT_EQ(panel.caption, "");
    EXPECT_EQ(inPanel.caption, "&Telefongespräch oder Analog");
    EXPECT_EQ(button.caption, "&Abweisen");
    EXPECT_EQ(label.caption, "");
    EXPECT_EQ(memo.caption, "Anrufer:\r\nfrei");
    // Depth first, parents before children, children in their order.
    EXPECT_EQ(log, (std::vector<std::string>{"1", "5", "38", "40", "60", "61", "62", "63", "64",
                                             "50", "32", "3011", "3010", "3004\r\nfrei"}));
}

TEST(Localize, NonIntegerCaptionStopsTheWalk) {
    std::vector<std::string> log;
    FakeControl form(ControlClass::Form, "3001", &log);
    FakeControl& group = form.Add(ControlClass::GroupBox, "38");
    group.Add(ControlClass::Label, "Anrufer:");
    FakeControl& after = form.Add(ControlClass::PushButton, "3009");
    LocalizeResult r = LocalizeTree(form);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "'Anrufer:' ist kein gültiger Integerwert");
    EXPECT_EQ(after.caption, "3009");  // nothing after the bad caption was visited

    FakeControl list(ControlClass::Form, "1");
    FakeControl& lv = list.Add(ControlClass::SortListView, "");
    lv.columns = {"22", "MSN"};
    r = LocalizeTree(list);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "'MSN' ist kein gültiger Integerwert");
}

TEST(Localize, MenuCaptionsAndSeparators) {
    std::vector<std::string> items = {"10309", "10302", "10301", "10302", "10306"};
    ASSERT_TRUE(LocalizeMenuCaptions(items).ok);
    EXPECT_EQ(items, (std::vector<std::string>{"Ö&ffnen", "-", "Anruferfenster in &Vordergrund",
                                               "-", "&Beenden"}));
    std::vector<std::string> bad = {"10001", "-", "10004"};
    LocalizeResult r = LocalizeMenuCaptions(bad);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "'-' ist kein gültiger Integerwert");
    EXPECT_EQ(bad[0], "&Neuen Eintrag hinzufügen");
    EXPECT_EQ(bad[2], "10004");
}

}  // namespace
}  // namespace telvor
