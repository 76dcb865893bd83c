#include "contacts/DatabaseNumber.h"

#include <vector>

#include "contacts/ContactText.h"

namespace telvor::contacts {
namespace {

constexpr std::size_t kNumberRoom = 60;

bool IsDigit(char c) {
    return (c >= '0' && c <= '9') || c == '*' || c == '#';
}

bool IsLetter(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || byte >= 0xC0;
}

// "tel:+49-711-123;ext=45;phone-context=x" -> "+49-711-123-45".
std::string FromTelUri(std::string_view text) {
    text = TrimBlanks(text);
    if (LowerCp1252(text.substr(0, 4)) != "tel:") return std::string(text);
    std::string decoded;
    for (std::size_t i = 4; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
            HexValue(text[i + 2]) >= 0) {
            decoded.push_back(
                static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
            i += 2;
        } else {
            decoded.push_back(text[i]);
        }
    }
    std::string number = decoded.substr(0, decoded.find(';'));
    const std::size_t ext = LowerCp1252(decoded).find(";ext=");
    if (ext != std::string::npos) {
        number.push_back('-');
        number += decoded.substr(ext + 5, decoded.find(';', ext + 5) - (ext + 5));
    }
    return number;
}

// The digits of a number and where the file separated them into groups.
struct Groups {
    bool plus = false;
    std::string digits;
    std::vector<std::size_t> starts;  // where each group but the first begins in `digits`

    std::size_t FirstStart() const {
        for (std::size_t start : starts)
            if (start > 0) return start;
        return 0;
    }
    // Without the first `count` digits; group starts move along.
    Groups After(std::size_t count) const {
        Groups rest;
        rest.digits = digits.substr(count);
        for (std::size_t start : starts)
            if (start > count) rest.starts.push_back(start - count);
        return rest;
    }
    bool StartsWith(std::string_view prefix) const {
        return !prefix.empty() && std::string_view(digits).starts_with(prefix);
    }
};

Groups Scan(std::string_view text, std::string_view international) {
    Groups groups;
    bool started = false;
    bool separated = false;
    bool hyphen = false;
    bool lastAfterHyphen = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDigit(c)) {
            if (separated && !groups.digits.empty()) {
                groups.starts.push_back(groups.digits.size());
                lastAfterHyphen = hyphen;
            }
            groups.digits.push_back(c);
            started = true;
            separated = hyphen = false;
        } else if (c == '+' && !started) {
            groups.plus = started = true;
        } else if (IsLetter(c)) {
            if (started) break;
        } else if (started) {
            const bool countryCodeOnly = groups.starts.empty() && !groups.digits.empty() &&
                                         (groups.plus || groups.StartsWith(international));
            if (countryCodeOnly && text.substr(i, 3) == "(0)") i += 2;
            separated = true;
            hyphen = hyphen || c == '-';
        }
    }
    if (!groups.starts.empty() && lastAfterHyphen &&
        std::string_view(groups.digits).substr(groups.starts.back()) == "0") {
        groups.digits.resize(groups.starts.back());
        groups.starts.pop_back();
    }
    return groups;
}

// `digits` with a blank after the first `at` of them (none when `at` is 0 or all of them).
std::string SplitAt(const std::string& digits, std::size_t at) {
    if (at == 0 || at >= digits.size()) return digits;
    return digits.substr(0, at) + ' ' + digits.substr(at);
}

class Composer {
  public:
    Composer(const NumberPrefixes& prefixes, const AreaCodeIndex& areaCodes)
        : prefixes_(prefixes), areaCodes_(areaCodes) {}

    std::optional<std::string> National(const Groups& number) const {
        if (number.digits.empty()) return std::nullopt;  // a prefix alone would match all
        std::size_t code = areaCodes_.CodeLength('N', number.digits);
        if (code == 0) code = number.FirstStart();
        return prefixes_.national + SplitAt(number.digits, code);
    }

    std::optional<std::string> International(const Groups& number) const {
        if (number.StartsWith(prefixes_.ownCountry)) {
            Groups national = number.After(prefixes_.ownCountry.size());
            while (national.StartsWith(prefixes_.national))
                national = national.After(prefixes_.national.size());
            return National(national);
        }
        if (number.digits.empty()) return std::nullopt;
        std::size_t code = areaCodes_.CodeLength('I', number.digits);
        if (code == 0) code = number.FirstStart();
        if (code == 0) return prefixes_.international + number.digits;
        const Groups rest = number.After(code);
        std::string result = prefixes_.international + number.digits.substr(0, code);
        if (!rest.digits.empty()) result += ' ' + SplitAt(rest.digits, rest.FirstStart());
        return result;
    }

  private:
    const NumberPrefixes& prefixes_;
    const AreaCodeIndex& areaCodes_;
};

}  // namespace

std::optional<std::string> DatabaseNumber(std::string_view text, const NumberPrefixes& prefixes,
                                          const AreaCodeIndex& areaCodes) {
    const Groups groups = Scan(FromTelUri(text), prefixes.international);
    if (groups.digits.empty()) return std::nullopt;
    const Composer composer(prefixes, areaCodes);
    std::optional<std::string> number;
    if (groups.plus) {
        number = composer.International(groups);
    } else if (groups.StartsWith(prefixes.international)) {
        number = composer.International(groups.After(prefixes.international.size()));
    } else if (prefixes.national.empty() || groups.StartsWith(prefixes.national)) {
        number = composer.National(groups.After(prefixes.national.size()));
    } else {
        number = groups.digits;
    }
    if (number && number->size() > kNumberRoom) {
        number->resize(kNumberRoom);
        if (number->back() == ' ') number->pop_back();
    }
    return number;
}

}  // namespace telvor::contacts
