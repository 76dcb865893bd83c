// Template expansion against the rule written out step by step: delete the ampersand, then
// replace the placeholder in place and step over the inserted value.
#include <string>
#include <utility>

#include "Harnesses.h"
#include "monitor/Template.h"

namespace telvor::fuzz {
namespace {

std::string Reference(std::string text, const TemplateValues& v) {
    const std::pair<std::string_view, const std::string*> words[] = {
        {"&", nullptr},        {"NAME", &v.name},
        {"NUMBER", &v.number}, {"MSNNUMBER", &v.msnNumber},
        {"MSN", &v.msn},       {"SERVICE", &v.service},
        {"TIME", &v.time},     {"DATE", &v.date},
        {"TOWN", &v.town}};
    std::size_t p = 0;
    bool afterAmpersand = false;
    while (p < text.size()) {
        if (!afterAmpersand) {
            if (text[p] == '&') {
                text.erase(p, 1);
                afterAmpersand = true;
            } else {
                ++p;
            }
            continue;
        }
        std::string rest = text.substr(p);
        for (char& c : rest) {
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        }
        for (const auto& [word, value] : words) {
            if (rest.compare(0, word.size(), word) != 0) continue;
            if (value == nullptr) {
                ++p;
            } else {
                text.replace(p, word.size(), *value);
                p += value->size();
            }
            break;
        }
        afterAmpersand = false;
    }
    return text;
}

}  // namespace

void Template(Input data) {
    // Values that look like placeholders themselves: they must never be expanded again.
    static const TemplateValues values{"Hans &NAME", "0711 &&123", "4711", "B&uuml;ro",
                                       "&SERVICE",   "14:35",      "",     "&"};
    const std::string_view templ(reinterpret_cast<const char*>(data.data()), data.size());
    Check(ExpandTemplate(templ, values) == Reference(std::string(templ), values),
          "expansion differs from the rule");
}

}  // namespace telvor::fuzz
