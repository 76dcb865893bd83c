#pragma once
// Which client addresses the server lets in: a list of address ranges in CIDR notation
// ("192.168.0.0/16, fe80::/10, 10.1.2.3"), tested against a peer's IPv4 or IPv6 address.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace telvor {

struct NetAddress {
    bool v6 = false;
    std::array<std::uint8_t, 16> bytes{};  // IPv4: the first four, in network order

    static NetAddress V4(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d);
    bool operator==(const NetAddress&) const = default;
};

// Dotted IPv4 ("192.168.1.2") or IPv6 text ("fe80::1", "::ffff:10.0.0.1"); nothing for any
// other text (host names and zone suffixes included).
std::optional<NetAddress> ParseNetAddress(std::string_view text);
std::string FormatNetAddress(const NetAddress& address);

struct AddressRange {
    NetAddress base;
    int prefixBits = 0;
};

// Loopback, the private IPv4 ranges, link-local and IPv6 unique-local: the local network.
inline constexpr std::string_view kDefaultAllowText =
    "127.0.0.0/8, ::1, 10.0.0.0/8, 172.16.0.0/12, 192.168.0.0/16, 169.254.0.0/16, fe80::/10, "
    "fc00::/7";

class AddressRules {
  public:
    // Entries separated by commas, semicolons or blanks; an entry is an address, optionally
    // with "/bits". Nothing when any entry is malformed or the text holds no entry.
    static std::optional<AddressRules> Parse(std::string_view text);
    // The rules of kDefaultAllowText.
    static AddressRules Default();

    // An IPv4-mapped IPv6 address (::ffff:a.b.c.d) is tested as the IPv4 address it carries.
    bool Allows(const NetAddress& peer) const;
    const std::vector<AddressRange>& Ranges() const { return ranges_; }

  private:
    std::vector<AddressRange> ranges_;
};

}  // namespace telvor
