#include "contacts/PhoneLabel.h"

#include <array>

#include "contacts/ContactText.h"

namespace telvor::contacts {
namespace {

struct Kind {
    const char* label;
    std::array<const char*, 6> words;  // lower case; nullptr ends the list
};

// "mobil" also stands for "mobile" and "Mobiltelefon".
constexpr Kind kKinds[] = {
    {"Fax", {"fax"}},
    {"mobil", {"cell", "mobil", "handy", "iphone"}},
    {"Pager", {"pager"}},
    {"geschäftlich", {"work", "business", "geschäftlich", "company", "firma"}},
    {"privat", {"home", "privat"}},
};

constexpr std::size_t kMaxCustomLabel = 40;

}  // namespace

std::string PhoneLabelOfWords(std::string_view words) {
    const std::string lower = LowerCp1252(words);
    for (const Kind& kind : kKinds) {
        for (const char* word : kind.words) {
            if (word != nullptr && lower.find(word) != std::string::npos) return kind.label;
        }
    }
    return {};
}

std::string PhoneLabelOfCustom(std::string_view label) {
    std::string_view text = TrimBlanks(label);
    // Apple's standard labels: "_$!<Mobile>!$_".
    if (text.starts_with("_$!<") && text.ends_with(">!$_")) text = text.substr(4, text.size() - 8);
    // Google marks the primary number: "* Mobile".
    if (text.starts_with("* ")) text.remove_prefix(2);
    std::string known = PhoneLabelOfWords(text);
    if (!known.empty()) return known;
    const std::string lower = LowerCp1252(text);
    for (const char* generic : {"main", "other", "voice", "pref", "phone", "telefon"})
        if (lower == generic) return {};
    return CleanName(text.substr(0, kMaxCustomLabel));
}

}  // namespace telvor::contacts
