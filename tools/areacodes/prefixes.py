"""Turns libphonenumber's number patterns into plain digit prefixes.

Regions that share a country calling code (+1, +7, +44, ...) are told apart in the metadata
by patterns: "leading digits" such as "8001|8[024]9", or, where a region has none, by the
patterns of its valid numbers. The area-code file can only list fixed digit strings.
"""

import re


class UnsupportedPattern(ValueError):
    pass


def expand(pattern):
    """Every digit string the pattern matches; the pattern may use digits, \\d, [...]
    classes, (?:...) groups and |, but no repetition (so the set is finite)."""
    strings, position = _alternation(pattern, 0)
    if position != len(pattern):
        raise UnsupportedPattern(f"unexpected {pattern[position]!r} in {pattern!r}")
    for string in strings:
        if not re.fullmatch(pattern, string):
            raise AssertionError(f"{string} does not match {pattern}")
    return sorted(strings)


def _alternation(pattern, position):
    result, position = _sequence(pattern, position)
    while position < len(pattern) and pattern[position] == "|":
        more, position = _sequence(pattern, position + 1)
        result |= more
    return result, position


def _sequence(pattern, position):
    result = {""}
    while position < len(pattern) and pattern[position] not in "|)":
        choices, position = _atom(pattern, position)
        if position < len(pattern) and pattern[position] in "*+?{":
            raise UnsupportedPattern(f"repetition in {pattern!r}")
        result = {head + tail for head in result for tail in choices}
    return result, position


def _atom(pattern, position):
    char = pattern[position]
    if char.isdigit():
        return {char}, position + 1
    if pattern.startswith("\\d", position):
        return set("0123456789"), position + 2
    if char == "[":
        end = pattern.index("]", position)
        members = pattern[position + 1 : end]
        return {d for d in "0123456789" if re.fullmatch(f"[{members}]", d)}, end + 1
    if pattern.startswith("(?:", position):
        inner, position = _alternation(pattern, position + 3)
        if position >= len(pattern) or pattern[position] != ")":
            raise UnsupportedPattern(f"unclosed group in {pattern!r}")
        return inner, position + 1
    raise UnsupportedPattern(f"unsupported {char!r} in {pattern!r}")


def shortest(prefixes):
    """The prefixes without those that a shorter one of them already covers."""
    kept = []
    for prefix in sorted(prefixes, key=lambda p: (len(p), p)):
        if not any(prefix.startswith(k) for k in kept):
            kept.append(prefix)
    return sorted(kept)


# Subscriber parts (exchange and line number) used to probe a North American area code.
_NANP_SAMPLES = ("2345678", "4567890", "7654321", "9876543")


def _matches(region, number):
    return any(
        pattern and re.fullmatch(pattern, number)
        for pattern in (region.fixed_line_pattern, region.mobile_pattern)
    )


def nanp_area_codes(region, others):
    """The three-digit area codes (2xx-9xx) whose numbers are valid for the region and for
    none of the others: how +1 tells Canada from the United States."""
    codes = []
    for area in range(200, 1000):
        numbers = [f"{area}{sample}" for sample in _NANP_SAMPLES]
        if not any(_matches(region, n) for n in numbers):
            continue
        if any(_matches(other, n) for other in others for n in numbers):
            continue
        codes.append(str(area))
    return codes
