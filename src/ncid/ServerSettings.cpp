#include "ncid/ServerSettings.h"

#include "store/AppSettings.h"

namespace telvor {
namespace {

constexpr std::string_view kEnabled = "NcidServer";
constexpr std::string_view kPort = "NcidPort";
constexpr std::string_view kListen = "NcidListen";
constexpr std::string_view kAllow = "NcidAllow";

std::string Trimmed(std::string text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

AddressRules NcidServerSettings::AllowRules() const {
    return AddressRules::Parse(allow).value_or(AddressRules::Default());
}

std::optional<NetAddress> NcidServerSettings::ListenAddress() const {
    return ParseNetAddress(listen);
}

NcidServerSettings ReadNcidServerSettings(SettingsStore& store, NcidSettingsFallbacks* fallbacks) {
    NcidSettingsFallbacks fell;
    NcidServerSettings settings;
    settings.enabled = store.ReadBool(kSettingsSection, kEnabled, false);

    if (store.ValueExists(kSettingsSection, kPort)) {
        // Text that is no number reads as 0, which is no port either.
        const long long port = store.ReadInteger(kSettingsSection, kPort, 0);
        fell.port = port < 1 || port > 65535;
        if (!fell.port) settings.port = static_cast<int>(port);
    }

    settings.listen = Trimmed(store.ReadString(kSettingsSection, kListen, ""));
    fell.listen = !settings.listen.empty() && !ParseNetAddress(settings.listen);
    if (fell.listen) settings.listen.clear();

    // A missing or blank list is the default, not a list that lets nobody in.
    const std::string allow = Trimmed(store.ReadString(kSettingsSection, kAllow, ""));
    fell.allow = !allow.empty() && !AddressRules::Parse(allow);
    if (!allow.empty() && !fell.allow) settings.allow = allow;

    if (fallbacks) *fallbacks = fell;
    return settings;
}

void WriteNcidServerSettings(SettingsStore& store, const NcidServerSettings& settings) {
    store.WriteBool(kSettingsSection, kEnabled, settings.enabled);
    store.WriteInteger(kSettingsSection, kPort, settings.port);
    store.WriteString(kSettingsSection, kListen, settings.listen);
    store.WriteString(kSettingsSection, kAllow, settings.allow);
}

}  // namespace telvor
