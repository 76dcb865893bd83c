#include "ui/SortableRows.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <unordered_map>
#include <utility>

namespace telvor {
namespace {

constexpr std::size_t kDateColumn = 2;

int Sign(int value) {
    return (value > 0) - (value < 0);
}

// Ascending order of date/times; a NaN (a damaged record) goes before every date so that the
// order stays a strict weak one.
int CompareDates(double a, double b) {
    const bool nanA = std::isnan(a), nanB = std::isnan(b);
    if (nanA || nanB) return static_cast<int>(nanB) - static_cast<int>(nanA);
    return (a > b) - (a < b);
}

double DateOf(const ListRow& row) {
    return DecodeCallRowData(row.data).time;
}

bool Lacks(const ListRow& row, std::size_t m) {
    return row.subItems.size() < m - 1;
}

// The two comparisons, over any text comparison of column c (0 = caption, 1 + i = sub-item i).
template <class TextCompare>
int Compare(RowOrder order, const ListRow& a, const ListRow& b, int key, TextCompare text) {
    const std::size_t m = static_cast<std::size_t>(std::abs(key));
    const int s = key < 0 ? -1 : 1;
    if (m == 1) return text(0) * s;
    if (order == RowOrder::Date && m == kDateColumn + 1)
        return CompareDates(DateOf(a), DateOf(b)) * s;
    // Not multiplied by s: rows lacking the sub-item come first in both directions.
    if (Lacks(a, m) || Lacks(b, m))
        return static_cast<int>(Lacks(b, m)) - static_cast<int>(Lacks(a, m));
    return text(m - 1) * s;
}

const std::string& TextOf(const ListRow& row, std::size_t column) {
    return column == 0 ? row.caption : row.subItems[column - 1];
}

}  // namespace

std::string EncodeCallRowData(const CallRowData& data) {
    std::string bytes(9, '\0');
    auto bits = std::bit_cast<std::uint64_t>(data.time);
    for (std::size_t i = 0; i < 8; ++i, bits >>= 8) bytes[i] = static_cast<char>(bits & 0xFF);
    bytes[8] = data.notInDatabase ? 1 : 0;
    return bytes;
}

CallRowData DecodeCallRowData(std::string_view bytes) {
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) {
        const auto at = static_cast<std::size_t>(i);
        bits = (bits << 8) | (at < bytes.size() ? static_cast<unsigned char>(bytes[at]) : 0u);
    }
    return {std::bit_cast<double>(bits), bytes.size() > 8 && bytes[8] != 0};
}

int CompareRows(RowOrder order, const ListRow& a, const ListRow& b, int key,
                const TextCollation& collation) {
    if (key == 0) return 0;
    return Compare(order, a, b, key, [&](std::size_t column) {
        return Sign(
            collation.SortKey(TextOf(a, column)).compare(collation.SortKey(TextOf(b, column))));
    });
}

void SortableRows::Reserve(std::size_t count) {
    rows_.reserve(count);
    shown_.reserve(count);
}

void SortableRows::Add(ListRow row) {
    Insert(shown_.size(), std::move(row));
}

std::size_t SortableRows::Store() {
    if (used_ == rows_.size()) rows_.emplace_back();
    for (ColumnKeys& column : keys_) column.keyOf.push_back(kNoKey);
    return used_++;
}

void SortableRows::Add(std::string_view caption, std::initializer_list<std::string_view> subItems,
                       std::string_view data) {
    const std::size_t stored = Store();
    ListRow& row = rows_[stored];
    row.caption.assign(caption);
    row.subItems.resize(subItems.size());
    auto sub = subItems.begin();
    for (std::string& text : row.subItems) text.assign(*sub++);
    row.data.assign(data);
    shown_.push_back(stored);
}

void SortableRows::Insert(std::size_t index, ListRow row) {
    index = std::min(index, shown_.size());
    const std::size_t stored = Store();
    rows_[stored] = std::move(row);
    shown_.insert(shown_.begin() + static_cast<std::ptrdiff_t>(index), stored);
}

void SortableRows::Erase(std::size_t index) {
    if (index >= shown_.size()) return;
    const std::size_t stored = shown_[index];
    shown_.erase(shown_.begin() + static_cast<std::ptrdiff_t>(index));
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(stored));
    --used_;
    for (std::size_t& at : shown_)
        if (at > stored) --at;
    for (ColumnKeys& column : keys_)
        column.keyOf.erase(column.keyOf.begin() + static_cast<std::ptrdiff_t>(stored));
}

void SortableRows::Clear() {
    rows_.clear();
    used_ = 0;
    shown_.clear();
    keys_.clear();
}

void SortableRows::ClearForReload() {
    used_ = 0;
    shown_.clear();
    keys_.clear();
}

void SortableRows::DropSpares() {
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(used_), rows_.end());
}

void SortableRows::Forget(std::size_t stored) {
    for (ColumnKeys& column : keys_) column.keyOf[stored] = kNoKey;
}

void SortableRows::SetCaption(std::size_t index, std::string text) {
    rows_[shown_[index]].caption = std::move(text);
    Forget(shown_[index]);
}

void SortableRows::SetSubItem(std::size_t index, std::size_t sub, std::string text) {
    auto& subs = rows_[shown_[index]].subItems;
    if (subs.size() <= sub) subs.resize(sub + 1);
    subs[sub] = std::move(text);
    Forget(shown_[index]);
}

void SortableRows::SetSubItems(std::size_t index, std::vector<std::string> subs) {
    rows_[shown_[index]].subItems = std::move(subs);
    Forget(shown_[index]);
}

void SortableRows::SetData(std::size_t index, std::string bytes) {
    rows_[shown_[index]].data = std::move(bytes);
}

std::vector<std::size_t> SortableRows::Sort(int key) {
    const std::size_t n = shown_.size();
    std::vector<std::size_t> order(n);
    for (std::size_t i = 0; i < n; ++i) order[i] = i;
    if (key == 0 || n < 2) return order;

    const std::size_t m = static_cast<std::size_t>(std::abs(key));
    const bool byDate = order_ == RowOrder::Date && m == kDateColumn + 1;
    const std::size_t column = m - 1;
    if (!byDate) {
        if (keys_.size() <= column) keys_.resize(column + 1);
        for (ColumnKeys& cache : keys_) {
            if (cache.keyOf.size() == used_) continue;
            cache.keys.clear();
            cache.keyOf.assign(used_, kNoKey);
        }
        // Lists repeat their texts (the same caller, the same MSN): each distinct text is
        // given to the collation once per sort.
        std::unordered_map<std::string_view, std::size_t> made;
        ColumnKeys& cache = keys_[column];
        for (std::size_t stored = 0; stored < used_; ++stored) {
            if (cache.keyOf[stored] != kNoKey || (column != 0 && Lacks(rows_[stored], m))) continue;
            const std::string& text = TextOf(rows_[stored], column);
            const auto [it, fresh] = made.try_emplace(text, cache.keys.size());
            if (fresh) cache.keys.push_back(collation_->SortKey(text));
            cache.keyOf[stored] = static_cast<std::uint32_t>(it->second);
        }
    }
    // A compact record per place, so that the sort touches little memory.
    struct Entry {
        const std::string* key;
        double date;
        bool lacks;
    };
    std::vector<Entry> entries(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t stored = shown_[i];
        const ListRow& row = rows_[stored];
        entries[i].lacks = column != 0 && !byDate && Lacks(row, m);
        entries[i].key =
            byDate || entries[i].lacks ? nullptr : &keys_[column].keys[keys_[column].keyOf[stored]];
        entries[i].date = byDate ? DateOf(row) : 0;
    }
    const int s = key < 0 ? -1 : 1;
    const auto compare = [&](std::size_t a, std::size_t b) {
        const Entry& ea = entries[a];
        const Entry& eb = entries[b];
        if (byDate) return CompareDates(ea.date, eb.date) * s;
        if (ea.lacks || eb.lacks) return static_cast<int>(eb.lacks) - static_cast<int>(ea.lacks);
        return Sign(ea.key->compare(*eb.key)) * s;
    };
    // Rows already in order (a list written in the order it is shown, sorted the same way
    // again when it is read) stay as they are, as a stable sort would leave them.
    bool inOrder = true;
    for (std::size_t i = 1; i < n && inOrder; ++i) inOrder = compare(i - 1, i) <= 0;
    if (inOrder) return order;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return compare(a, b) < 0; });

    std::vector<std::size_t> shown(n);
    for (std::size_t i = 0; i < n; ++i) shown[i] = shown_[order[i]];
    shown_ = std::move(shown);
    return order;
}

}  // namespace telvor
