#include "store/CallerKeys.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "numbers/Numbers.h"
#include "store/CallerDatabase.h"

namespace telvor {
namespace {

constexpr std::size_t kLongestNumber = 60;  // the number field's room
static_assert(kLongestNumber < 64, "lengths_ has one bit per number length");

// A hash of a number in keypad digits and its length, eight bytes at a time: building the
// index hashes every record's number once, so this has to cost far less than reading the
// record.
std::uint32_t HashOf(const char* key, std::size_t length) {
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ length;
    std::size_t at = 0;
    for (; at + 8 <= length; at += 8) {
        std::uint64_t word;
        std::memcpy(&word, key + at, 8);
        h = (h ^ word) * 0xBF58476D1CE4E5B9ull;
        h ^= h >> 31;
    }
    if (at < length) {
        std::uint64_t word = 0;
        std::memcpy(&word, key + at, length - at);
        h = (h ^ word) * 0x94D049BB133111EBull;
        h ^= h >> 29;
    }
    return static_cast<std::uint32_t>(h ^ (h >> 32));
}

}  // namespace

void CallerKeys::Reset(std::size_t records) {
    added_.clear();
    added_.reserve(records);
    groupSizes_.fill(0);
    slots_.clear();
    shift_ = 32;
    lengths_ = 0;
    records_ = 0;
}

void CallerKeys::Add(std::span<const unsigned char> bytes) {
    const std::size_t count = bytes.size() / kCallerRecordSize;
    char key[kLongestNumber];
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view number = CallerNumberField(bytes.data() + i * kCallerRecordSize);
        // The scan's conversion (KeypadDigits up to the first NUL), without a branch per
        // dropped character.
        std::size_t length = 0;
        for (const char c : number) {
            if (c == '\0') break;
            const char digit = KeypadDigit(c);
            key[length] = digit;
            length += digit != 0;
        }
        const auto entry = static_cast<std::uint32_t>(++records_);
        if (length == 0) continue;  // matches nothing
        const std::uint32_t hash = HashOf(key, length);
        added_.push_back({hash, entry});
        ++groupSizes_[hash >> (32 - kGroupBits)];
        lengths_ |= std::uint64_t{1} << length;
    }
}

void CallerKeys::Finish() {
    // Grouped by the hash's top bits, each group in file order (a stable counting sort).
    std::vector<Slot> grouped(added_.size());
    std::array<std::uint32_t, std::size_t{1} << kGroupBits> next;
    std::uint32_t at = 0;
    for (std::size_t g = 0; g < next.size(); ++g) {
        next[g] = at;
        at += groupSizes_[g];
    }
    for (const Slot& slot : added_) grouped[next[slot.hash >> (32 - kGroupBits)]++] = slot;
    added_ = {};

    slots_.clear();
    if (grouped.empty()) return;
    const std::size_t size = std::bit_ceil(std::max<std::size_t>(16, 2 * grouped.size()));
    slots_.assign(size, Slot{});
    shift_ = 32 - std::countr_zero(size);
    const std::size_t mask = size - 1;
    for (const Slot& slot : grouped) {
        std::size_t i = slot.hash >> shift_;
        while (slots_[i].entry != 0) i = (i + 1) & mask;
        slots_[i] = slot;
    }
}

CallerKeys::Hit CallerKeys::Find(std::string_view callingNumber) const {
    if (slots_.empty()) return {};
    const std::size_t mask = slots_.size() - 1;
    std::size_t length =
        callingNumber.size() < kLongestNumber ? callingNumber.size() : kLongestNumber;
    for (; length > 0; --length) {
        if (((lengths_ >> length) & 1) == 0) continue;  // no number is that long
        const std::uint32_t hash = HashOf(callingNumber.data(), length);
        for (std::size_t i = hash >> shift_; slots_[i].entry != 0; i = (i + 1) & mask) {
            if (slots_[i].hash == hash) return {true, slots_[i].entry - 1, length};
        }
    }
    return {};
}

std::size_t CallerKeys::MemoryBytes() const {
    return slots_.capacity() * sizeof(Slot);
}

}  // namespace telvor
