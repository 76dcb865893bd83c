#pragma once
// The numbers of a caller database in keypad digits, as hashes in memory, so that a lookup no
// longer reads the whole file. A lookup tries the calling number's prefixes from the longest
// down and, for each, the records whose number has that hash in file order, so the longest
// number wins and, among records with equal numbers, the first in the file, as in the scan.
// Only a hash and a record number are kept (16 to 32 bytes per record, as the table is at most
// half full); the numbers themselves stay in the file: the one record a lookup names must be
// read and checked against the calling number, since two numbers can share a hash.
#include <array>
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
        std::size_t length = 0;    // the prefix of the calling number it stands for
    };

    // Starts again with no numbers; `records` is how many are expected (room is made once).
    void Reset(std::size_t records);
    // Adds whole records that follow the ones added so far (a partial tail is ignored).
    void Add(std::span<const unsigned char> records);
    // Makes the numbers added so far searchable.
    void Finish();

    // The first record whose number's hash is that of the longest prefix of callingNumber
    // that has a record (after Finish).
    Hit Find(std::string_view callingNumber) const;

    // Bytes held once the numbers are searchable.
    std::size_t MemoryBytes() const;

  private:
    struct Slot {
        std::uint32_t hash = 0;   // of the number and its length
        std::uint32_t entry = 0;  // record index + 1; 0: the slot is free
    };
    // Numbers are collected in file order and grouped by the top bits of their hash before
    // they go into the table, so that filling it walks the table from front to back instead
    // of touching a random place of it per record (which costs more than reading the record).
    static constexpr int kGroupBits = 11;

    std::vector<Slot> added_;  // in file order, until Finish
    std::array<std::uint32_t, std::size_t{1} << kGroupBits> groupSizes_{};
    // Open addressing by the hash's top bits, at most half full. Records with the same hash
    // lie on one probe sequence in file order, since they were placed in that order.
    std::vector<Slot> slots_;
    int shift_ = 32;             // 32 - log2(slots_.size())
    std::uint64_t lengths_ = 0;  // bit n set: some number has n digits
    std::size_t records_ = 0;
};

}  // namespace telvor
