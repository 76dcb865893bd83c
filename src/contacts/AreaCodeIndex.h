#pragma once
// The area-code list's codes in a hash table, so that splitting ten thousands of imported
// numbers does not walk the whole list once per number. It answers as FindTown does: the
// code of the first line in the list whose code begins the number.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

#include "numbers/Numbers.h"

namespace telvor::contacts {

class AreaCodeIndex {
  public:
    explicit AreaCodeIndex(const AreaCodeList& list);

    // How many leading digits of `digits` (without prefix) are the area code of the line
    // marked `marker` ('N' national, 'I' international) that comes first in the list; 0
    // when no line's code begins them.
    std::size_t CodeLength(char marker, std::string_view digits) const;

  private:
    std::unordered_map<std::string, std::size_t> lineOfCode_;  // marker + code -> first line
    std::size_t longest_ = 0;                                  // marker included
};

}  // namespace telvor::contacts
