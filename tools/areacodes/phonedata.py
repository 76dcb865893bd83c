"""Reads the data compiled into Debian's libphonenumber libraries.

libgeocoding.so.8 (package libgeocoding8) holds the geocoding tables: for each pair of
country calling code and language, the number prefixes with their place names.
libphonenumber.so.8 (package libphonenumber8) holds the numbering-plan metadata of every
region as one serialised protocol buffer. Both are read in place through ctypes, so no
library headers and no protobuf runtime are needed.
"""

import ctypes
from dataclasses import dataclass

GEOCODING_LIBRARY = "libgeocoding.so.8"
METADATA_LIBRARY = "libphonenumber.so.8"

# The data accessors are plain C++ functions in namespace i18n::phonenumbers.
_NAMESPACE = "_ZN4i18n12phonenumbers"


def _function(library, name, restype, argtypes=()):
    mangled = f"{_NAMESPACE}{len(name)}{name}E" + ("".join(argtypes) or "v")
    function = getattr(library, mangled)
    function.restype = restype
    function.argtypes = [ctypes.c_int for _ in argtypes]
    return function


class _PrefixDescriptions(ctypes.Structure):
    # Layout of i18n::phonenumbers::PrefixDescriptions in libgeocoding.
    _fields_ = [
        ("prefixes", ctypes.POINTER(ctypes.c_int32)),
        ("prefixes_size", ctypes.c_int),
        ("descriptions", ctypes.POINTER(ctypes.c_char_p)),
        ("possible_lengths", ctypes.POINTER(ctypes.c_int32)),
        ("possible_lengths_size", ctypes.c_int),
    ]


def geocoding(country_code, language):
    """{prefix digits (with the country code): place name} for one code and language."""
    library = ctypes.CDLL(GEOCODING_LIBRARY)
    pairs = _function(library, "get_prefix_language_code_pairs", ctypes.POINTER(ctypes.c_char_p))
    pairs_size = _function(library, "get_prefix_language_code_pairs_size", ctypes.c_int)
    descriptions = _function(
        library, "get_prefix_descriptions", ctypes.POINTER(_PrefixDescriptions), ("i",)
    )
    wanted = f"{country_code}_{language}".encode()
    names = [pairs()[i] for i in range(pairs_size())]
    if wanted not in names:
        raise LookupError(f"{GEOCODING_LIBRARY} has no geocoding for {wanted.decode()}")
    table = descriptions(names.index(wanted)).contents
    if not 0 < table.prefixes_size < 1_000_000:
        raise ValueError(f"implausible geocoding table size {table.prefixes_size}")
    result = {}
    for i in range(table.prefixes_size):
        result[str(table.prefixes[i])] = table.descriptions[i].decode("utf-8")
    return result


@dataclass
class Region:
    """One region of the numbering-plan metadata (a country, territory or "001" service)."""

    id: str = ""
    country_code: int = 0
    main_country_for_code: bool = False
    leading_digits: str = ""
    fixed_line_pattern: str = ""
    mobile_pattern: str = ""


def _varint(buffer, position):
    value = shift = 0
    while True:
        byte = buffer[position]
        position += 1
        value |= (byte & 0x7F) << shift
        shift += 7
        if byte < 0x80:
            return value, position


def _protobuf_fields(buffer):
    """(field number, value) of one message: ints for varints, bytes for everything else."""
    position = 0
    while position < len(buffer):
        key, position = _varint(buffer, position)
        number, wire_type = key >> 3, key & 7
        if wire_type == 0:
            value, position = _varint(buffer, position)
        elif wire_type == 2:
            length, position = _varint(buffer, position)
            value = buffer[position : position + length]
            if len(value) != length:
                raise ValueError("truncated protocol buffer")
            position += length
        elif wire_type == 1:
            value, position = buffer[position : position + 8], position + 8
        elif wire_type == 5:
            value, position = buffer[position : position + 4], position + 4
        else:
            raise ValueError(f"unsupported protocol buffer wire type {wire_type}")
        yield number, value


def _national_number_pattern(description):
    for number, value in _protobuf_fields(description):
        if number == 2:  # PhoneNumberDesc.national_number_pattern
            return value.decode()
    return ""


def parse_regions(collection):
    """Regions of a serialised PhoneMetadataCollection."""
    regions = []
    for number, message in _protobuf_fields(collection):
        if number != 1:  # PhoneMetadataCollection.metadata
            continue
        region = Region()
        for tag, value in _protobuf_fields(message):
            if tag == 2:
                region.fixed_line_pattern = _national_number_pattern(value)
            elif tag == 3:
                region.mobile_pattern = _national_number_pattern(value)
            elif tag == 9:
                region.id = value.decode()
            elif tag == 10:
                region.country_code = value
            elif tag == 22:
                region.main_country_for_code = bool(value)
            elif tag == 23:
                region.leading_digits = value.decode()
        if not region.id or not region.country_code:
            raise ValueError("region without id or country code in the metadata")
        regions.append(region)
    return regions


def regions():
    """Every region of libphonenumber's metadata."""
    library = ctypes.CDLL(METADATA_LIBRARY)
    get = _function(library, "metadata_get", ctypes.c_void_p)
    size = _function(library, "metadata_size", ctypes.c_int)
    return parse_regions(ctypes.string_at(get(), size()))
