"""German non-geographic prefixes: mobile networks and service numbers.

libphonenumber's geocoding names only places, so a call from a mobile phone or a service
number would show "unbekannt". These lines name the kind of number instead. Each prefix is
as long as the part that is usually written apart ("0171 1234567", "01805 123456"), because
the caller window splits the number at the matched code.
"""

MOBILE = "Mobilfunk"

SERVICES = [
    # 015x, 0160/0162/0163 and 017x: mobile networks. 0161 and 0164-0169 (old car phone and
    # paging networks) cannot call and stay unknown.
    *[(f"15{d}", MOBILE) for d in "0123456789"],
    *[(f"16{d}", MOBILE) for d in "023"],
    *[(f"17{d}", MOBILE) for d in "0123456789"],
    ("800", "Service-Nummer (kostenfrei)"),
    *[(f"180{d}", "Service-Nummer") for d in "1234567"],
    *[(f"137{d}", "Service-Nummer (Televoting)") for d in "123456789"],
    ("900", "Service-Nummer (Premium)"),
    ("700", "Persönliche Rufnummer"),
    ("32", "Nationale Rufnummer"),
    ("118", "Auskunftsdienst"),
]
