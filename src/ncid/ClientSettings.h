#pragma once
// Where calls come from, values of section "Settings":
//   CallSource      capi | ncid | both   the ISDN line, an NCID server, or both (default capi)
//   NcidServerHost  host name or address of the NCID server (default empty: none)
//   NcidServerPort  1-65535 (default 3333)
// Text that does not read as its kind falls back to the default of that one value: an
// unknown source, a host with characters no host name or address has, a port outside
// 1-65535.
#include <string>

#include "ncid/ServerSettings.h"
#include "store/SettingsStore.h"

namespace telvor {

enum class CallsFrom { Capi, Ncid, Both };

struct NcidClientSettings {
    CallsFrom source = CallsFrom::Capi;
    std::string host;
    int port = kNcidDefaultPort;

    bool UsesCapi() const { return source != CallsFrom::Ncid; }
    // The NCID client runs: the source asks for it and there is a server to ask.
    bool UsesNcid() const { return source != CallsFrom::Capi && !host.empty(); }
};

NcidClientSettings ReadNcidClientSettings(SettingsStore& store);
void WriteNcidClientSettings(SettingsStore& store, const NcidClientSettings& settings);

}  // namespace telvor
