#include "monitor/Template.h"

namespace telvor {
namespace {

// rest starts with word (word is upper-case ASCII), compared case-insensitively.
bool StartsWithWord(std::string_view rest, std::string_view word) {
    if (rest.size() < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        char c = rest[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != word[i]) return false;
    }
    return true;
}

}  // namespace

// One pass over the template; values go straight to the output, so an inserted value is
// never scanned for placeholders again.
std::string ExpandTemplate(std::string_view templ, const TemplateValues& values) {
    // MSNNUMBER must be tested before its prefix MSN.
    const struct {
        std::string_view word;
        const std::string* value;
    } placeholders[] = {
        {"NAME", &values.name}, {"NUMBER", &values.number},   {"MSNNUMBER", &values.msnNumber},
        {"MSN", &values.msn},   {"SERVICE", &values.service}, {"TIME", &values.time},
        {"DATE", &values.date}, {"TOWN", &values.town},
    };

    std::string out;
    out.reserve(templ.size());
    std::size_t p = 0;
    while (p < templ.size()) {
        if (templ[p] != '&') {
            out.push_back(templ[p++]);
            continue;
        }
        ++p;  // the ampersand itself is dropped; a trailing one simply disappears
        const std::string_view rest = templ.substr(p);
        if (!rest.empty() && rest.front() == '&') {
            out.push_back('&');  // "&&" yields one "&"
            ++p;
            continue;
        }
        for (const auto& placeholder : placeholders) {
            if (StartsWithWord(rest, placeholder.word)) {
                out += *placeholder.value;
                p += placeholder.word.size();
                break;
            }
        }
        // Unknown placeholder: the text after the ampersand stays and is scanned normally.
    }
    return out;
}

}  // namespace telvor
