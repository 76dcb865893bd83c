#pragma once
// The user's short date format and time separator as the system reports them, for reading the
// date and time texts earlier versions stored (store/LocaleDateTime.h).
#include "store/LocaleDateTime.h"

namespace telvor {

// From GetLocaleInfoA(LOCALE_USER_DEFAULT, ...): LOCALE_SSHORTDATE (the field order and date
// separator), LOCALE_STIME, LOCALE_S1159 and LOCALE_S2359.
DateTimeFormat SystemDateTimeFormat();

// A parser bound to the format of the moment it is made.
DateTimeParser SystemDateTimeParser();

}  // namespace telvor
