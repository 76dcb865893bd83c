#include "netdde/ClientList.h"

#include <algorithm>

namespace telvor {

namespace {

// Upper case in Windows-1252: a-z, and the accented letters à..þ except ÷ (0xF7).
unsigned char UpperCp1252(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 'a' + 'A');
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
    return c;
}

}  // namespace

std::string FirstLine(std::string_view pokedText) {
    return std::string(pokedText.substr(0, pokedText.find_first_of(std::string_view("\r\n\0", 3))));
}

bool SameClientId(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return UpperCp1252(static_cast<unsigned char>(x)) ==
               UpperCp1252(static_cast<unsigned char>(y));
    });
}

bool ClientList::Register(std::string_view id, MonotonicTime now) {
    const bool known =
        std::erase_if(entries_, [id](const Entry& e) { return SameClientId(e.id, id); }) > 0;
    if (!known && entries_.size() >= kMaxClients) return false;
    entries_.push_back(Entry{std::string(id), TTimeObj(now)});
    return true;
}

std::size_t ClientList::RemoveExpired(MonotonicTime now, MonotonicTime lifetime) {
    return std::erase_if(entries_,
                         [&](const Entry& e) { return e.registered.ExpiredBy(now, lifetime); });
}

std::vector<std::string> ClientList::Ids() const {
    std::vector<std::string> ids;
    ids.reserve(entries_.size());
    for (const Entry& e : entries_) ids.push_back(e.id);
    return ids;
}

}  // namespace telvor
