#!/usr/bin/env python3
"""Writes the area-code file: every German area code with its town (N lines) and every
country calling code with its German country name (I lines), in Windows-1252 with CR LF.

The monitor takes the first line whose code begins the number, so wherever one code begins
another (02129 Haan inside 0212 Solingen, +1 242 Bahamas inside +1) the longer one is
written first.

Sources: libphonenumber's geocoding and metadata (Debian packages libgeocoding8 and
libphonenumber8) and iso-codes' German country names; scripts/make-areacodes installs them.
"""

import argparse
import os
import sys
import unicodedata
from collections import defaultdict
from pathlib import Path

sys.dont_write_bytecode = True
sys.path.insert(0, str(Path(__file__).resolve().parent))

import countrynames  # noqa: E402
import germanservices  # noqa: E402
import phonedata  # noqa: E402
import prefixes  # noqa: E402
import sources  # noqa: E402

GERMANY = 49
DEFAULT_OUTPUT = Path(__file__).resolve().parents[2] / "data" / "AreaCode.txt"
SOURCES_SUFFIX = "-SOURCES.txt"  # AreaCode.txt -> AreaCode-SOURCES.txt, beside it


def german_area_codes():
    """{code without 0: town}: the German geocoding, English where German has no entry."""
    towns = {}
    for language in ("en", "de"):  # German last, so it wins
        for prefix, town in phonedata.geocoding(GERMANY, language).items():
            if not prefix.startswith(str(GERMANY)):
                raise ValueError(f"geocoding prefix {prefix} outside +{GERMANY}")
            towns[prefix[len(str(GERMANY)) :]] = town
    for code, name in germanservices.SERVICES:
        clash = [c for c in towns if c.startswith(code) or code.startswith(c)]
        if clash:
            raise ValueError(f"service prefix 0{code} overlaps area codes {clash[:5]}")
        towns[code] = name
    return towns


def _region_name(region, names):
    if region.id == "001":
        return countrynames.GLOBAL_SERVICE_NAMES[region.country_code]
    if region.id not in names:
        raise LookupError(f"no German name for region {region.id}")
    return names[region.id]


def country_codes(regions, names):
    """{country code plus the digits that single out a region: German name}."""
    by_code = defaultdict(list)
    for region in regions:
        by_code[region.country_code].append(region)
    codes = {}
    for code, group in by_code.items():
        main = [r for r in group if r.main_country_for_code] or (group if len(group) == 1 else [])
        if len(main) != 1:
            raise ValueError(f"+{code} has no single main region: {[r.id for r in group]}")
        main = main[0]
        codes[str(code)] = _region_name(main, names)
        for region in group:
            if region is main:
                continue
            if region.leading_digits:
                digits = prefixes.shortest(prefixes.expand(region.leading_digits))
            elif code == 1:
                others = [r for r in group if r is not region]
                digits = prefixes.nanp_area_codes(region, others)
            else:
                # Told apart only by full-number patterns (Guernsey, Jersey, the Cocos
                # Islands, ...): their calls show the main country.
                digits = []
            for d in digits:
                key = f"{code}{d}"
                if key in codes:
                    raise ValueError(f"+{key} claimed by {codes[key]} and {region.id}")
                codes[key] = _region_name(region, names)
    return codes


def ordered(codes):
    """Codes in digit order, each one after every longer code that it begins."""
    result = sorted(codes, key=lambda code: code + "~")  # "~" sorts after every digit
    position = {code: i for i, code in enumerate(result)}
    for code in result:
        for length in range(1, len(code)):
            shorter = position.get(code[:length])
            if shorter is not None and shorter < position[code]:
                raise AssertionError(f"{code[:length]} would hide {code}")
    return result


def windows_1252(name):
    """The name in Windows-1252; letters it lacks lose their accents."""
    name = " ".join(name.split())  # no TAB, CR or LF inside a name
    try:
        return name.encode("cp1252")
    except UnicodeEncodeError:
        plain = "".join(
            c for c in unicodedata.normalize("NFKD", name) if not unicodedata.combining(c)
        )
        print(f"make_areacodes: {name!r} written as {plain!r}", file=sys.stderr)
        return plain.encode("cp1252")


def lines(marker, codes):
    for code in ordered(codes):
        if not code.isdigit() or not codes[code].strip():
            raise ValueError(f"bad entry {code!r}: {codes[code]!r}")
        yield marker.encode() + code.encode() + b"\t" + windows_1252(codes[code]) + b"\r\n"


def build():
    national = german_area_codes()
    international = country_codes(phonedata.regions(), countrynames.german_country_names())
    # National lines first: most calls are national and the list is searched in order.
    content = b"".join(lines("N", national)) + b"".join(lines("I", international))
    return content, len(national), len(international)


def _write(path, content):
    temporary = path.with_suffix(".tmp")
    temporary.write_bytes(content)
    os.replace(temporary, path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--output", type=Path, default=DEFAULT_OUTPUT)
    parser.add_argument(
        "--check", action="store_true", help="only compare with the output files; 1 if they differ"
    )
    args = parser.parse_args()
    content, national, international = build()
    attribution = sources.attribution().replace("\n", "\r\n").encode("ascii")
    outputs = {
        args.output: content,
        args.output.with_name(args.output.stem + SOURCES_SUFFIX): attribution,
    }
    if args.check:
        stale = [p for p, c in outputs.items() if not p.exists() or p.read_bytes() != c]
        for path in stale:
            print(f"make_areacodes: {path} is out of date")
        if not stale:
            print(f"make_areacodes: {args.output} and its sources are up to date")
        return 1 if stale else 0
    for path, data in outputs.items():
        _write(path, data)
    print(
        f"make_areacodes: {args.output}: {national} national and {international} "
        f"international lines; sources in {args.output.stem + SOURCES_SUFFIX}"
    )
    return 0


if __name__ == "__main__":
    sys.exit(main())
