#include "ncid/ClientSettings.h"

#include <algorithm>
#include <cctype>

#include "store/AppSettings.h"

namespace telvor {
namespace {

constexpr std::string_view kSource = "CallSource";
constexpr std::string_view kHost = "NcidServerHost";
constexpr std::string_view kPort = "NcidServerPort";

constexpr std::string_view kSourceNames[] = {"capi", "ncid", "both"};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Letters, digits, '-', '.' (names and IPv4), ':' (IPv6), at most the 253 of a DNS name.
bool IsHostText(const std::string& host) {
    return host.size() <= 253 && std::all_of(host.begin(), host.end(), [](unsigned char c) {
               return std::isalnum(c) || c == '-' || c == '.' || c == ':';
           });
}

}  // namespace

NcidClientSettings ReadNcidClientSettings(SettingsStore& store) {
    NcidClientSettings settings;
    const std::string source = Lower(Trimmed(store.ReadString(kSettingsSection, kSource, "")));
    for (std::size_t i = 0; i < std::size(kSourceNames); ++i)
        if (source == kSourceNames[i]) settings.source = static_cast<CallsFrom>(i);

    const std::string host = Trimmed(store.ReadString(kSettingsSection, kHost, ""));
    if (IsHostText(host)) settings.host = host;

    if (store.ValueExists(kSettingsSection, kPort)) {
        const long long port = store.ReadInteger(kSettingsSection, kPort, 0);
        if (port >= 1 && port <= 65535) settings.port = static_cast<int>(port);
    }
    return settings;
}

void WriteNcidClientSettings(SettingsStore& store, const NcidClientSettings& settings) {
    store.WriteString(kSettingsSection, kSource,
                      kSourceNames[static_cast<std::size_t>(settings.source)]);
    store.WriteString(kSettingsSection, kHost, settings.host);
    store.WriteInteger(kSettingsSection, kPort, settings.port);
}

}  // namespace telvor
