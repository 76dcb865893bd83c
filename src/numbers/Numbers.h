#pragma once
// Telephone-number rules: keypad conversion, network-number normalisation, area codes.
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace telvor {

// The calling code of the country the monitor's line is in: the settings hold none, and
// Telvor's home is Germany. Numbers written internationally with it are national calls.
inline constexpr char kOwnCountryCode[] = "49";

// Letters to keypad digits, umlauts and ß to 1, digits * # kept, everything else removed.
std::string KeypadDigits(std::string_view text);

namespace detail {
extern const std::array<char, 256> kKeypadTable;
}
// The keypad character of one byte, or 0 when KeypadDigits drops it (for scans that must
// not allocate).
inline char KeypadDigit(char c) {
    return detail::kKeypadTable[static_cast<unsigned char>(c)];
}

struct TownMatch {
    bool found = false;
    std::string town;      // UnknownCallerText when not found
    std::string areaCode;  // prefix + code without its marker ("0711"); empty when not found
};

// The lines of the area-code file ("N711<TAB>Stuttgart"), in file order.
class AreaCodeList {
  public:
    // Reads the file (CR LF, LF or CR line ends). An unreadable file leaves the list empty
    // and returns false.
    bool LoadFromFile(const std::string& path);
    // The same from the file's bytes.
    void LoadFromText(std::string_view text);
    void SetLines(std::vector<std::string> lines);
    const std::vector<std::string>& Lines() const { return lines_; }
    bool Empty() const { return lines_.empty(); }
    // First line (not the longest) whose code part, upper-cased, prefixes marker + digits.
    TownMatch FindTown(char marker, std::string_view digits, std::string_view prefix) const;

  private:
    std::vector<std::string> lines_;
};

enum class NumberKind { National, International, Neither };

struct NormalisedNumber {
    NumberKind kind = NumberKind::Neither;
    std::string number;  // prefix + digits (KeypadDigits not yet applied)
    TownMatch town;
};

// typeOctet: the calling party number's first octet (bits 6-4: 010 national, 001 international).
NormalisedNumber NormaliseCallingNumber(unsigned char typeOctet, std::string_view digits,
                                        const AreaCodeList& areaCodes,
                                        std::string_view nationalPrefix,
                                        std::string_view internationalPrefix);

}  // namespace telvor
