#pragma once
// The numbers of a caller database in keypad digits, kept in memory so that a lookup no longer
// reads the whole file: for each distinct number, the first record in file order that holds
// it. A lookup tries the calling number's prefixes from the longest down, so the longest
// number wins and, among records with equal numbers, the first in the file, as in the scan.
// Only the numbers are kept (about 30 bytes per record); the texts stay in the file.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace telvor {

class CallerKeys {
  public:
    struct Hit {
        bool found = false;
        std::uint32_t record = 0;  // index of the record in the file
        std::size_t length = 0;    // its number's length in keypad digits
    };

    // Forgets every number and prepares room for about `records` records.
    void Reset(std::size_t records);
    // Adds whole records that follow the ones added so far (a partial tail is ignored).
    void Add(std::span<const unsigned char> records);
    std::size_t Records() const { return records_; }

    // The record whose number is the longest prefix of callingNumber.
    Hit Find(std::string_view callingNumber) const;

    // Bytes held by the tables.
    std::size_t MemoryBytes() const;

  private:
    struct Slot {
        std::uint32_t hash = 0;
        std::uint32_t record = 0;
        std::uint32_t keyAt = 0;     // offset of the number in keys_
        std::uint8_t keyLength = 0;  // 0: the slot is free (an empty number never matches)
    };

    void Insert(std::uint32_t hash, const char* key, std::size_t length, std::uint32_t record);
    void Grow();

    std::vector<Slot> slots_;  // open addressing, a power of two, at most half full
    std::vector<char> keys_;   // the numbers one after the other
    std::size_t used_ = 0;
    std::size_t records_ = 0;
};

}  // namespace telvor
