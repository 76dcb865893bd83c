#include "ui/SortableRows.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
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

void SortableRows::Add(ListRow row) {
    rows_.push_back(std::move(row));
    for (ColumnKeys& column : keys_) {
        column.keys.emplace_back();
        column.valid.push_back(0);
    }
}

void SortableRows::Insert(std::size_t index, ListRow row) {
    index = std::min(index, rows_.size());
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(index), std::move(row));
    for (ColumnKeys& column : keys_) {
        column.keys.emplace(column.keys.begin() + static_cast<std::ptrdiff_t>(index));
        column.valid.insert(column.valid.begin() + static_cast<std::ptrdiff_t>(index), 0);
    }
}

void SortableRows::Erase(std::size_t index) {
    if (index >= rows_.size()) return;
    const auto at = static_cast<std::ptrdiff_t>(index);
    rows_.erase(rows_.begin() + at);
    for (ColumnKeys& column : keys_) {
        column.keys.erase(column.keys.begin() + at);
        column.valid.erase(column.valid.begin() + at);
    }
}

void SortableRows::Clear() {
    rows_.clear();
    keys_.clear();
}

void SortableRows::Forget(std::size_t index) {
    for (ColumnKeys& column : keys_) column.valid[index] = 0;
}

void SortableRows::SetCaption(std::size_t index, std::string text) {
    rows_[index].caption = std::move(text);
    Forget(index);
}

void SortableRows::SetSubItem(std::size_t index, std::size_t sub, std::string text) {
    auto& subs = rows_[index].subItems;
    if (subs.size() <= sub) subs.resize(sub + 1);
    subs[sub] = std::move(text);
    Forget(index);
}

void SortableRows::SetSubItems(std::size_t index, std::vector<std::string> subs) {
    rows_[index].subItems = std::move(subs);
    Forget(index);
}

void SortableRows::SetData(std::size_t index, std::string bytes) {
    rows_[index].data = std::move(bytes);
}

const std::string& SortableRows::KeyOf(std::size_t column, std::size_t index) {
    ColumnKeys& cache = keys_[column];
    if (!cache.valid[index]) {
        cache.keys[index] = collation_->SortKey(TextOf(rows_[index], column));
        cache.valid[index] = 1;
    }
    return cache.keys[index];
}

std::vector<std::size_t> SortableRows::Sort(int key) {
    const std::size_t n = rows_.size();
    std::vector<std::size_t> order(n);
    for (std::size_t i = 0; i < n; ++i) order[i] = i;
    if (key == 0 || n < 2) return order;

    const std::size_t m = static_cast<std::size_t>(std::abs(key));
    const bool byDate = order_ == RowOrder::Date && m == kDateColumn + 1;
    const std::size_t column = m - 1;
    if (!byDate) {
        // Keys only for rows that have the column; the others are ordered by lacking it.
        if (keys_.size() <= column) keys_.resize(column + 1);
        for (ColumnKeys& cache : keys_) {
            if (cache.keys.size() == n) continue;
            cache.keys.assign(n, {});
            cache.valid.assign(n, 0);
        }
        for (std::size_t i = 0; i < n; ++i)
            if (column == 0 || !Lacks(rows_[i], m)) KeyOf(column, i);
    }
    // A compact record per row, so that the sort touches little memory.
    struct Entry {
        const std::string* key;
        double date;
        bool lacks;
    };
    std::vector<Entry> entries(n);
    for (std::size_t i = 0; i < n; ++i) {
        const ListRow& row = rows_[i];
        entries[i].lacks = column != 0 && !byDate && Lacks(row, m);
        entries[i].key = byDate || entries[i].lacks ? nullptr : &keys_[column].keys[i];
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
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return compare(a, b) < 0; });

    std::vector<ListRow> sorted;
    sorted.reserve(n);
    for (std::size_t i : order) sorted.push_back(std::move(rows_[i]));
    rows_ = std::move(sorted);
    for (ColumnKeys& cache : keys_) {
        if (cache.keys.size() != n) {
            cache.keys.assign(n, {});
            cache.valid.assign(n, 0);
            continue;
        }
        std::vector<std::string> keys(n);
        std::vector<unsigned char> valid(n);
        for (std::size_t i = 0; i < n; ++i) {
            keys[i] = std::move(cache.keys[order[i]]);
            valid[i] = cache.valid[order[i]];
        }
        cache.keys = std::move(keys);
        cache.valid = std::move(valid);
    }
    return order;
}

}  // namespace telvor
