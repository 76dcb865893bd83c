#include "store/win/SystemDateTimeFormat.h"

#include <windows.h>

#include <string>

namespace telvor {
namespace {

std::string LocaleText(LCTYPE type) {
    char buffer[128] = {};
    const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer);
    return length > 0 ? std::string(buffer) : std::string();
}

}  // namespace

DateTimeFormat SystemDateTimeFormat() {
    DateTimeFormat format =
        DateTimeFormatFromPattern(LocaleText(LOCALE_SSHORTDATE), LocaleText(LOCALE_STIME));
    format.amDesignator = LocaleText(LOCALE_S1159);
    format.pmDesignator = LocaleText(LOCALE_S2359);
    return format;
}

DateTimeParser SystemDateTimeParser() {
    return [format = SystemDateTimeFormat()](std::string_view text) {
        return ParseDateTime(text, format);
    };
}

}  // namespace telvor
