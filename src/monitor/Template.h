#pragma once
// Placeholder expansion for dmail messages and program parameters.
#include <string>
#include <string_view>

namespace telvor {

struct TemplateValues {
    std::string name;       // &NAME
    std::string number;     // &NUMBER: area code, blank, rest (the hidden number field)
    std::string msnNumber;  // &MSNNUMBER: the called number
    std::string msn;        // &MSN: name of the matched MSN entry
    std::string service;    // &SERVICE
    std::string time;       // &TIME
    std::string date;       // &DATE
    std::string town;       // &TOWN
};

std::string ExpandTemplate(std::string_view templ, const TemplateValues& values);

}  // namespace telvor
