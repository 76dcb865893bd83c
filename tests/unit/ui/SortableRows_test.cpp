// The two comparisons of the sortable lists and the sort over cached collation keys.
#include "ui/SortableRows.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace telvor {
namespace {

ListRow Row(std::string caption, std::vector<std::string> subs = {}, std::string data = {}) {
    return {std::move(caption), std::move(subs), std::move(data)};
}

ListRow Call(std::string caption, double time) {
    return Row(std::move(caption), {"4711", "date text"}, EncodeCallRowData({time, false}));
}

std::vector<std::string> Captions(const SortableRows& rows) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < rows.Count(); ++i) out.push_back(rows.Row(i).caption);
    return out;
}

// Reverse byte order: shows that only the collation decides the text order.
struct ReverseCollation final : TextCollation {
    std::string SortKey(std::string_view text) const override {
        std::string key;
        for (unsigned char c : text) key.push_back(static_cast<char>(255 - c));
        key.push_back('\xff');  // a longer text after its prefix, reversed too
        return key;
    }
};

const ByteCollation kBytes;

TEST(CompareRows, TextSignFollowsTheDirection) {
    const ListRow a = Row("Anna", {"x"}), b = Row("Bert", {"a"});
    EXPECT_LT(CompareRows(RowOrder::Text, a, b, 1, kBytes), 0);
    EXPECT_GT(CompareRows(RowOrder::Text, a, b, -1, kBytes), 0);
    EXPECT_GT(CompareRows(RowOrder::Text, a, b, 2, kBytes), 0);
    EXPECT_EQ(CompareRows(RowOrder::Text, a, a, -2, kBytes), 0);
    EXPECT_EQ(CompareRows(RowOrder::Text, a, b, 1, kBytes), -1);  // a sign, not a distance
}

TEST(CompareRows, RowsLackingTheSubItemComeFirstInBothDirections) {
    const ListRow full = Row("a", {"x", "y"}), shortRow = Row("b", {"x"});
    for (RowOrder order : {RowOrder::Text, RowOrder::Date}) {
        for (int key : {3, -3}) {
            if (order == RowOrder::Date) continue;  // column 2 of the date list is the date
            EXPECT_EQ(CompareRows(order, shortRow, full, key, kBytes), -1);
            EXPECT_EQ(CompareRows(order, full, shortRow, key, kBytes), 1);
            EXPECT_EQ(CompareRows(order, shortRow, shortRow, key, kBytes), 0);
        }
        for (int key : {2, -2}) {
            EXPECT_EQ(CompareRows(order, Row("n"), full, key, kBytes), -1);
            EXPECT_EQ(CompareRows(order, Row("n"), Row("m"), key, kBytes), 0);
        }
    }
}

TEST(CompareRows, DateColumnUsesTheAttachedTimeNotTheText) {
    ListRow older = Call("x", 45000.25), newer = Call("y", 45000.5);
    older.subItems[1] = "9";  // a text that would sort after the newer one's
    newer.subItems[1] = "1";
    EXPECT_EQ(CompareRows(RowOrder::Date, older, newer, 3, kBytes), -1);
    EXPECT_EQ(CompareRows(RowOrder::Date, older, newer, -3, kBytes), 1);
    EXPECT_EQ(CompareRows(RowOrder::Date, newer, older, 3, kBytes), 1);
    // Rows without sub-items still have their date.
    EXPECT_EQ(CompareRows(RowOrder::Date, Row("a", {}, EncodeCallRowData({2, true})),
                          Row("b", {}, EncodeCallRowData({1, false})), 3, kBytes),
              1);
}

TEST(CompareRows, EqualDateTimesAreEqual) {
    // Reporting one of two equal rows as smaller, whichever was asked first, is no order.
    const ListRow a = Call("a", 45000.5), b = Call("b", 45000.5);
    EXPECT_EQ(CompareRows(RowOrder::Date, a, b, 3, kBytes), 0);
    EXPECT_EQ(CompareRows(RowOrder::Date, b, a, -3, kBytes), 0);
}

TEST(CompareRows, CollationDecidesTheTextOrder) {
    const ReverseCollation reverse;
    EXPECT_GT(CompareRows(RowOrder::Text, Row("a"), Row("b"), 1, reverse), 0);
    EXPECT_LT(CompareRows(RowOrder::Date, Row("a"), Row("b"), 1, kBytes), 0);
}

TEST(CallRowData, RoundTripsAndReadsShortBlocksAsZero) {
    const std::string bytes = EncodeCallRowData({45123.75, true});
    ASSERT_EQ(bytes.size(), 9u);
    EXPECT_EQ(bytes.substr(0, 8), std::string("\0\0\0\0\x78\x08\xe6\x40", 8));
    EXPECT_DOUBLE_EQ(DecodeCallRowData(bytes).time, 45123.75);
    EXPECT_TRUE(DecodeCallRowData(bytes).notInDatabase);
    EXPECT_EQ(DecodeCallRowData({}).time, 0.0);
    EXPECT_FALSE(DecodeCallRowData(bytes.substr(0, 8)).notInDatabase);
}

TEST(SortableRows, NumbersSortAsText) {
    SortableRows rows(RowOrder::Text, kBytes);
    for (const char* n : {"9", "10", "089", "0711"}) rows.Add(Row(n));
    rows.Sort(1);
    EXPECT_EQ(Captions(rows), (std::vector<std::string>{"0711", "089", "10", "9"}));
    rows.Sort(-1);
    EXPECT_EQ(Captions(rows), (std::vector<std::string>{"9", "10", "089", "0711"}));
}

TEST(SortableRows, DateSortShowsNewestFirstDescendingAndKeepsTiesInPlace) {
    SortableRows rows(RowOrder::Date, kBytes);
    rows.Add(Call("b-tie", 2));
    rows.Add(Call("old", 1));
    rows.Add(Call("a-tie", 2));
    rows.Add(Call("new", 3));
    const auto order = rows.Sort(-3);
    EXPECT_EQ(Captions(rows), (std::vector<std::string>{"new", "b-tie", "a-tie", "old"}));
    EXPECT_EQ(order, (std::vector<std::size_t>{3, 0, 2, 1}));
    rows.Sort(3);
    EXPECT_EQ(Captions(rows), (std::vector<std::string>{"old", "b-tie", "a-tie", "new"}));
}

TEST(SortableRows, LackingRowsFirstThenTextInEitherDirection) {
    SortableRows rows(RowOrder::Text, kBytes);
    rows.Add(Row("1", {"b", "x"}));
    rows.Add(Row("2", {"c"}));
    rows.Add(Row("3", {"a", "y"}));
    rows.Add(Row("4"));
    rows.Sort(-3);
    EXPECT_EQ(Captions(rows), (std::vector<std::string>{"2", "4", "3", "1"}));
    rows.Sort(2);
    EXPECT_EQ(Captions(rows), (std::vector<std::string>{"4", "3", "1", "2"}));
}

TEST(SortableRows, EditedTextsAreSortedByTheirNewText) {
    SortableRows rows(RowOrder::Text, kBytes);
    rows.Add(Row("b", {"2"}));
    rows.Add(Row("a", {"1"}));
    rows.Sort(1);  // keys of the captions are cached now
    rows.SetCaption(0, "z");
    rows.SetSubItem(1, 0, "0");
    rows.Sort(1);
    EXPECT_EQ(Captions(rows), (std::vector<std::string>{"b", "z"}));
    rows.Sort(2);
    EXPECT_EQ(Captions(rows), (std::vector<std::string>{"b", "z"}));
    rows.SetSubItem(0, 2, "late");  // grows the row's sub-items
    EXPECT_EQ(rows.Row(0).subItems, (std::vector<std::string>{"0", "", "late"}));
}

TEST(SortableRows, InsertAndEraseKeepCachedKeysWithTheirRows) {
    SortableRows rows(RowOrder::Text, kBytes);
    for (const char* c : {"c", "a", "b"}) rows.Add(Row(c));
    rows.Sort(1);
    rows.Insert(0, Row("d"));
    rows.Erase(1);  // "a"
    rows.Add(Row("0"));
    rows.Sort(1);
    EXPECT_EQ(Captions(rows), (std::vector<std::string>{"0", "b", "c", "d"}));
    rows.Erase(99);  // out of range: nothing
    rows.Clear();
    EXPECT_EQ(rows.Count(), 0u);
    rows.Add(Row("x"));
    EXPECT_EQ(rows.Sort(1), (std::vector<std::size_t>{0}));
}

// A reload into the kept rows: the new texts, sub-items and data replace the old ones whole
// (nothing of a longer old row remains), and no key of an old text sorts a new one.
TEST(SortableRows, ReloadIntoKeptRowsTakesOnlyTheNewTexts) {
    SortableRows rows(RowOrder::Text, kBytes);
    rows.Add(Row("a", {"1", "2", "3"}, "old"));
    rows.Add(Row("b"));
    rows.Add(Row("c"));
    rows.Sort(-1);  // keys made: c, b, a
    rows.ClearForReload();
    EXPECT_EQ(rows.Count(), 0u);
    rows.Add("z", {"9"}, "");
    rows.Add("y", {}, "new");
    rows.Sort(1);
    EXPECT_EQ(Captions(rows), (std::vector<std::string>{"y", "z"}));
    EXPECT_EQ(rows.Row(1).subItems, (std::vector<std::string>{"9"}));
    EXPECT_EQ(rows.Row(1).data, "");
    EXPECT_EQ(rows.Row(0).data, "new");
    rows.DropSpares();
    rows.Erase(0);
    rows.Add(Row("x"));
    rows.Add("w", {}, "");  // after a drop: new storage again
    rows.Sort(1);
    EXPECT_EQ(Captions(rows), (std::vector<std::string>{"w", "x", "z"}));
}

TEST(SortableRows, NaNDatesStayAStrictOrder) {
    SortableRows rows(RowOrder::Date, kBytes);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    rows.Add(Call("two", 2));
    rows.Add(Call("nan", nan));
    rows.Add(Call("one", 1));
    rows.Sort(3);
    EXPECT_EQ(Captions(rows), (std::vector<std::string>{"nan", "one", "two"}));
}

}  // namespace
}  // namespace telvor
