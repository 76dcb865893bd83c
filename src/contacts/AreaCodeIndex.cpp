#include "contacts/AreaCodeIndex.h"

#include <algorithm>

namespace telvor::contacts {

AreaCodeIndex::AreaCodeIndex(const AreaCodeList& list) {
    const auto& lines = list.Lines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t tab = lines[i].find('\t');
        if (tab == std::string::npos || tab < 2) continue;  // no code, or a marker alone
        std::string code = lines[i].substr(0, tab);
        for (char& c : code)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        longest_ = std::max(longest_, code.size());
        lineOfCode_.emplace(std::move(code), i);  // an earlier line keeps its place
    }
}

std::size_t AreaCodeIndex::CodeLength(char marker, std::string_view digits) const {
    std::string key(1, marker);
    key.append(digits.substr(0, longest_ > 0 ? longest_ - 1 : 0));
    std::size_t bestLine = SIZE_MAX;
    std::size_t bestLength = 0;
    for (std::size_t length = 2; length <= key.size(); ++length) {
        const auto found = lineOfCode_.find(key.substr(0, length));
        if (found != lineOfCode_.end() && found->second < bestLine) {
            bestLine = found->second;
            bestLength = length - 1;
        }
    }
    return bestLength;
}

}  // namespace telvor::contacts
