#include "ui/ConfigOptions.h"

#include <algorithm>
#include <charconv>

namespace telvor {

int CloseTimePosition(long long milliseconds) {
    const long long seconds = milliseconds / 1000;
    return static_cast<int>(std::clamp<long long>(seconds, 0, kCloseTimeMaxSeconds));
}

long long CloseTimeMilliseconds(int position) {
    return static_cast<long long>(std::clamp(position, 0, kCloseTimeMaxSeconds)) * 1000;
}

std::optional<int> ParseCloseTimeText(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    if (value < 0 || value > kCloseTimeMaxSeconds) return std::nullopt;
    return value;
}

int DmWhenItem(long long stored) {
    return static_cast<int>(std::clamp<long long>(stored, 0, kDmWhenLastItem));
}

ConfigOptions LoadOptions(SettingsStore& store, const AppSettings& settings) {
    ConfigOptions o;
    o.nationalCalls = store.ReadString(kSettingsSection, "NationalCalls", "0");
    o.internationalCalls = store.ReadString(kSettingsSection, "InternationalCalls", "00");
    o.initAlways = settings.initAlways;
    o.alert = settings.alert;
    o.closeAuto = settings.closeCallerForms;
    o.closeTimePosition = CloseTimePosition(settings.closeTime);
    o.closeAfterTime = settings.closeAfterTime;
    o.closeAfterConnect = settings.closeAfterConnect;
    if (o.closeAfterConnect) o.closeAfterTime = false;  // one group: the later set wins
    o.enableNetDde = settings.enableNetDde;
    o.dmWhen = DmWhenItem(settings.dmWhenMessage);
    o.dmPath = settings.dmPath;
    o.dmReceiver = settings.dmReceiver;
    o.dmMessage = settings.dmMessage;
    return o;
}

void TakeOptions(const ConfigOptions& o, AppSettings& settings) {
    settings.closeCallerForms = o.closeAuto;
    settings.closeTime = CloseTimeMilliseconds(o.closeTimePosition);
    settings.closeAfterTime = o.closeAfterTime;
    settings.closeAfterConnect = o.closeAfterConnect;
    settings.enableNetDde = o.enableNetDde;
    settings.initAlways = o.initAlways;
    settings.alert = o.alert;
    settings.dmWhenMessage = DmWhenItem(o.dmWhen);
    settings.dmPath = o.dmPath;
    settings.dmReceiver = o.dmReceiver;
    settings.dmMessage = o.dmMessage;
}

void WriteOptions(SettingsStore& store, const AppSettings& a, const ConfigOptions& o) {
    const auto s = kSettingsSection;
    store.WriteBool(s, "CloseCallerForms", a.closeCallerForms);
    store.WriteInteger(s, "CloseTime", a.closeTime);
    store.WriteBool(s, "CloseAfterTime", a.closeAfterTime);
    store.WriteBool(s, "CloseAfterConnect", a.closeAfterConnect);
    store.WriteBool(s, "InitAlways", a.initAlways);
    store.WriteString(s, "NationalCalls", o.nationalCalls);
    store.WriteString(s, "InternationalCalls", o.internationalCalls);
    store.WriteBool(s, "Alert", a.alert);
    store.WriteInteger(s, "DMWhenMessage", a.dmWhenMessage);
    store.WriteString(s, "DMPath", a.dmPath);
    store.WriteString(s, "DMReceiver", a.dmReceiver);
    store.WriteString(s, "DMMessage", a.dmMessage);
}

}  // namespace telvor
