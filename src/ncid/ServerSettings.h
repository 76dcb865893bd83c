#pragma once
// The settings of the NCID server, values of section "Settings":
//   NcidServer  0/1      serve calls to NCID clients (default 0: off)
//   NcidPort    1-65535  the TCP port (default 3333, the protocol's port)
//   NcidListen  address  the local address to listen on; empty: every interface, IPv4 and IPv6
//   NcidAllow   ranges   the client addresses let in (AddressRules; default kDefaultAllowText)
// Text that does not read as its kind falls back to the default of that one value (a port
// outside 1-65535, a listen text that is no address, an allow list with a malformed entry),
// and the reader says which fell back, so that the configuration page can point at it.
#include <string>

#include "ncid/AddressRules.h"
#include "store/SettingsStore.h"

namespace telvor {

inline constexpr int kNcidDefaultPort = 3333;

struct NcidServerSettings {
    bool enabled = false;
    int port = kNcidDefaultPort;
    std::string listen;  // empty: all interfaces
    std::string allow = std::string(kDefaultAllowText);

    // The parsed forms; valid after ReadNcidServerSettings (or when built from the texts).
    AddressRules AllowRules() const;
    // Empty: all interfaces. A listen text that is no address reads as all interfaces.
    std::optional<NetAddress> ListenAddress() const;
};

struct NcidSettingsFallbacks {
    bool port = false;
    bool listen = false;
    bool allow = false;
    bool Any() const { return port || listen || allow; }
};

NcidServerSettings ReadNcidServerSettings(SettingsStore& store,
                                          NcidSettingsFallbacks* fallbacks = nullptr);
void WriteNcidServerSettings(SettingsStore& store, const NcidServerSettings& settings);

}  // namespace telvor
