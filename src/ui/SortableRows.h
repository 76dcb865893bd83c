#pragma once
// The rows of a sortable list (caption, sub-items, attached bytes) and the two comparisons
// that order them. The rows live here, not in the list control, so a list of 100 000 calls is
// sorted over precomputed collation keys instead of one locale compare per comparison.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace telvor {

// The locale's text order as byte strings: a and b compare (unsigned, bytewise) with the sign
// of the locale's case-sensitive word sort of the texts.
class TextCollation {
  public:
    virtual ~TextCollation() = default;
    virtual std::string SortKey(std::string_view text) const = 0;
};

// Plain byte order: for platforms without a locale collation, and for tests.
class ByteCollation final : public TextCollation {
  public:
    std::string SortKey(std::string_view text) const override { return std::string(text); }
};

struct ListRow {
    std::string caption;
    std::vector<std::string> subItems;
    std::string data;  // attached bytes; the list does not interpret them except below
};

// Which comparison a list sorts with.
enum class RowOrder {
    Text,  // every column by its text
    Date,  // column 2 by the date/time in the first 8 bytes of the attached data
};

// The call list's attached data: the date/time (days since 30 December 1899, the fraction
// being the time of day) as a little-endian double, then the not-in-database flag byte.
struct CallRowData {
    double time = 0;
    bool notInDatabase = false;
};
std::string EncodeCallRowData(const CallRowData& data);
// Missing bytes read as zero.
CallRowData DecodeCallRowData(std::string_view bytes);

// The comparison of rows a and b by the signed key (column + 1, negative for descending):
// negative when a goes first. Rows that lack the sub-item of the key's column go first in
// both directions. Texts compare by the sign of their collation keys; in the date list,
// column 2 compares the attached date/times, equal ones giving 0.
int CompareRows(RowOrder order, const ListRow& a, const ListRow& b, int key,
                const TextCollation& collation);

class SortableRows {
  public:
    SortableRows(RowOrder order, const TextCollation& collation)
        : order_(order), collation_(&collation) {}

    RowOrder Order() const { return order_; }
    std::size_t Count() const { return shown_.size(); }
    void Reserve(std::size_t count);
    // The row shown at `index` (0 = top).
    const ListRow& Row(std::size_t index) const { return rows_[shown_[index]]; }

    void Add(ListRow row);
    // The same from texts in place: a row kept by ClearForReload takes them into the room of
    // its strings, so a list loaded again and again allocates nothing per row.
    void Add(std::string_view caption, std::initializer_list<std::string_view> subItems,
             std::string_view data);
    void Insert(std::size_t index, ListRow row);
    void Erase(std::size_t index);
    void Clear();
    // Empties the list but keeps its rows' storage for the next load; DropSpares frees what the
    // load did not use again.
    void ClearForReload();
    void DropSpares();

    void SetCaption(std::size_t index, std::string text);
    // Sub-items up to `sub` are added, empty, when the row has fewer.
    void SetSubItem(std::size_t index, std::size_t sub, std::string text);
    void SetSubItems(std::size_t index, std::vector<std::string> subs);
    void SetData(std::size_t index, std::string bytes);

    // Orders the rows by the signed key, keeping rows that compare equal in their present
    // order. Returns the permutation: element i is the former index of the row now at i.
    std::vector<std::size_t> Sort(int key);

  private:
    // Collation keys of one column, made on first use and kept until the text changes. Rows
    // repeat their texts (100 000 calls of a few thousand callers), so each key is held once
    // and the rows point at it.
    static constexpr std::uint32_t kNoKey = UINT32_MAX;
    struct ColumnKeys {
        std::vector<std::string> keys;     // distinct texts' keys, in the order made
        std::vector<std::uint32_t> keyOf;  // by stored row: its key's index, or kNoKey
    };
    void Forget(std::size_t stored);

    RowOrder order_;
    const TextCollation* collation_;
    // Takes a new row's storage: a kept one, else a new one at the end. Returns its index.
    std::size_t Store();

    // The rows stay where they were stored; a sort reorders only `shown_`, the stored index of
    // the row at each place, so 100 000 rows are not moved. Rows from `used_` on are kept for
    // reuse (ClearForReload) and are not part of the list.
    std::vector<ListRow> rows_;
    std::size_t used_ = 0;
    std::vector<std::size_t> shown_;
    std::vector<ColumnKeys> keys_;  // by column index
};

}  // namespace telvor
