"""German country names by ISO 3166-1 alpha-2 code, from Debian's iso-codes package.

libphonenumber has no country names of its own (its geocoder asks ICU for them), so the
names come from iso-codes: the English names in its JSON table, translated through its
German message catalogue.
"""

import gettext
import json

ISO_3166_TABLE = "/usr/share/iso-codes/json/iso_3166-1.json"
LOCALE_DIR = "/usr/share/locale"

# Regions of the numbering plan that ISO 3166-1 does not list, and ISO names that read
# awkwardly on a caller window (inverted "X, Y" forms, or a name that also covers
# territories with codes of their own).
OWN_NAMES = {
    "AC": "Ascension",
    "TA": "Tristan da Cunha",
    "XK": "Kosovo",
    "SH": "St. Helena",
    "PS": "Palästina",
    "FM": "Mikronesien",
}

# Global services under the pseudo region "001", by country calling code.
GLOBAL_SERVICE_NAMES = {
    800: "Internationale Service-Nummer (kostenfrei)",
    808: "Internationale Service-Nummer",
    870: "Inmarsat (Satellit)",
    878: "Universelle Persönliche Rufnummer",
    881: "Satellitentelefon",
    882: "Internationale Netze",
    883: "Internationale Netze",
    888: "Humanitäre Hilfe (UN)",
    979: "Internationale Service-Nummer (Premium)",
}


def german_country_names():
    """{alpha-2 code: German name}; the common name where iso-codes has one."""
    with open(ISO_3166_TABLE, encoding="utf-8") as table:
        countries = json.load(table)["3166-1"]
    catalogue = gettext.translation("iso_3166-1", localedir=LOCALE_DIR, languages=["de"])
    names = {}
    for country in countries:
        english = country.get("common_name", country["name"])
        names[country["alpha_2"]] = catalogue.gettext(english)
    names.update(OWN_NAMES)
    return names
