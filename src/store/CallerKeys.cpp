#include "store/CallerKeys.h"

#include <cstring>

#include "numbers/Numbers.h"
#include "store/CallerDatabase.h"

namespace telvor {
namespace {

constexpr std::size_t kLongestNumber = 60;  // the number field's room

// A hash of a number in keypad digits, eight bytes at a time: building the index hashes every
// record's number once, so this has to cost far less than reading the record.
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

constexpr std::size_t kFewestSlots = 16;

// No table at all for a file without records: the index never holds more than the file.
std::size_t PowerOfTwoAtLeast(std::size_t n) {
    if (n == 0) return 0;
    std::size_t size = kFewestSlots;
    while (size < n) size *= 2;
    return size;
}

}  // namespace

void CallerKeys::Reset(std::size_t records) {
    slots_.assign(PowerOfTwoAtLeast(2 * records), Slot{});
    keys_.clear();
    keys_.reserve(records * 12);
    used_ = 0;
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
        const auto record = static_cast<std::uint32_t>(records_++);
        if (length == 0) continue;  // matches nothing
        Insert(HashOf(key, length), key, length, record);
    }
}

void CallerKeys::Insert(std::uint32_t hash, const char* key, std::size_t length,
                        std::uint32_t record) {
    if (2 * (used_ + 1) > slots_.size()) Grow();
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        Slot& slot = slots_[at];
        if (slot.keyLength == 0) {
            slot = {hash, record, static_cast<std::uint32_t>(keys_.size()),
                    static_cast<std::uint8_t>(length)};
            keys_.insert(keys_.end(), key, key + length);
            ++used_;
            return;
        }
        // The same number again: the earlier record keeps it, as the scan's tie rule says.
        if (slot.hash == hash && slot.keyLength == length &&
            std::memcmp(keys_.data() + slot.keyAt, key, length) == 0)
            return;
    }
}

void CallerKeys::Grow() {
    std::vector<Slot> old(slots_.empty() ? kFewestSlots : slots_.size() * 2);
    old.swap(slots_);
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& slot : old) {
        if (slot.keyLength == 0) continue;
        std::size_t at = slot.hash & mask;
        while (slots_[at].keyLength != 0) at = (at + 1) & mask;
        slots_[at] = slot;
    }
}

CallerKeys::Hit CallerKeys::Find(std::string_view callingNumber) const {
    if (used_ == 0) return {};
    const std::size_t mask = slots_.size() - 1;
    std::size_t length = callingNumber.size() < kLongestNumber ? callingNumber.size()
                                                               : kLongestNumber;
    for (; length > 0; --length) {
        const std::uint32_t hash = HashOf(callingNumber.data(), length);
        for (std::size_t at = hash & mask; slots_[at].keyLength != 0; at = (at + 1) & mask) {
            const Slot& slot = slots_[at];
            if (slot.hash == hash && slot.keyLength == length &&
                std::memcmp(keys_.data() + slot.keyAt, callingNumber.data(), length) == 0)
                return {true, slot.record, length};
        }
    }
    return {};
}

std::size_t CallerKeys::MemoryBytes() const {
    return slots_.capacity() * sizeof(Slot) + keys_.capacity();
}

}  // namespace telvor
