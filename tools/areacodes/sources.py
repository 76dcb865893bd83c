"""The attribution file shipped beside the area-code file: where its data comes from, under
which licences, and the full licence texts. Versions and copyright holders are read from the
installed Debian packages, so the file always names what the data was made from."""

import subprocess

LICENCE_DIR = "/usr/share/common-licenses"


def package_version(package):
    return subprocess.run(
        ["dpkg-query", "-W", "-f=${Version}", package],
        check=True,
        capture_output=True,
        text=True,
    ).stdout.strip()


def copyright_holders(package):
    """The Copyright field of the "Files: *" stanza of the package's copyright file."""
    with open(f"/usr/share/doc/{package}/copyright", encoding="utf-8") as file:
        stanzas = file.read().split("\n\n")
    for stanza in stanzas:
        lines = stanza.splitlines()
        if "Files: *" not in lines:
            continue
        holders, inside = [], False
        for line in lines:
            if line.startswith("Copyright:"):
                inside = True
                line = line[len("Copyright:") :]
            elif not line.startswith((" ", "\t")):
                inside = False
            holder = line.strip().removeprefix("\u00a9").strip()
            if inside and holder:
                holders.append(f"Copyright (c) {holder}")
        return holders
    raise LookupError(f"no 'Files: *' stanza in the copyright file of {package}")


def _licence_text(name):
    with open(f"{LICENCE_DIR}/{name}", encoding="ascii") as file:
        return file.read()


def attribution():
    """The text of AreaCode-SOURCES.txt (plain ASCII, LF line ends)."""
    phonenumber = package_version("libphonenumber8")
    geocoding = package_version("libgeocoding8")
    iso_codes = package_version("iso-codes")
    indent = "\n     "
    text = f"""\
AreaCode.txt: where its data comes from
=======================================

AreaCode.txt lists the German area codes with their towns (lines starting with N) and the
country calling codes with the names of their countries in German (lines starting with I).
It was generated with Telvor's tools/areacodes/make_areacodes.py from data shipped by Debian:

1. German area codes and towns; the split of country calling codes that several countries
   share (+1 United States, Canada and the Caribbean; +7; +44; ...):
   libphonenumber, Debian packages libgeocoding8 {geocoding} and libphonenumber8 {phonenumber}
     {indent.join(copyright_holders("libgeocoding8"))}
   Licensed under the Apache License, Version 2.0 (full text below).
   Changes made: the prefixes were taken out of the libraries' compiled-in tables, German
   prefixes written without the country code 49, ordered so that longer codes come before
   the codes they begin, and converted to Windows-1252.

2. Country names in German:
   iso-codes, Debian package iso-codes {iso_codes}
     {indent.join(copyright_holders("iso-codes"))}
     and the translators named in its German translation
   Licensed under the GNU Lesser General Public License, version 2.1 or (at your option)
   any later version (full text below).
   Changes made: converted to Windows-1252; the names for AC (Ascension), TA (Tristan da
   Cunha) and XK (Kosovo), which ISO 3166-1 does not list, were added, and those of SH, PS
   and FM shortened.

3. The names of German mobile and service prefixes and of global services (+800, +870, ...)
   were written for Telvor.


==========================================================================================
Apache License, Version 2.0
==========================================================================================

{_licence_text("Apache-2.0")}

==========================================================================================
GNU Lesser General Public License, version 2.1
==========================================================================================

{_licence_text("LGPL-2.1")}"""
    return text
