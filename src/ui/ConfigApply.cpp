#include "ui/ConfigApply.h"

namespace telvor {

bool ApplyEffects::ReplaceCallerFile(const std::string& path, const std::vector<CallerRow>& rows) {
    return ReplaceCallers(path, rows);
}

bool ApplyEffects::ReplaceCallFile(const std::string& path, const CallSource& calls) {
    return ReplaceCalls(path, calls);
}

ApplyResult ApplyConfiguration(const ConfigContent& content, const CallSource& calls,
                               SettingsStore& store, AppSettings& settings, ApplyEffects& effects) {
    ApplyResult result;
    // 1-2: the caller database (unnamed new rows are dropped by the replace).
    result.callerFileWritten = effects.ReplaceCallerFile(settings.callerFile, content.callers);
    // 3: the MSN list, erased and written in the list's order.
    WriteMsnList(store, ToMsnEntries(content.msns));
    // 4: the running monitor's settings; network forwarding needs its service running.
    TakeOptions(content.options, settings);
    if (settings.enableNetDde) effects.StartNetDde();
    // 5-6: the stored options.
    WriteOptions(store, settings, content.options);
    // 7: the call list.
    result.callFileWritten = effects.ReplaceCallFile(settings.callFile, calls);
    // Beyond the settings: the shortcut in the user's Startup folder.
    result.startAtLogonSet = effects.SetStartAtLogon(content.options.startAtLogon);
    return result;
}

}  // namespace telvor
