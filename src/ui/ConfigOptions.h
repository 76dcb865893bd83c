#pragma once
// The option pages of the configuration dialog as plain values: what they show when loaded
// from the settings, and how an apply turns them back into AppSettings and stored values.
#include <optional>
#include <string>
#include <string_view>

#include "store/AppSettings.h"
#include "store/SettingsStore.h"

namespace telvor {

// The up-down control of the close time: seconds, 0 to 3600 in steps of 10.
inline constexpr int kCloseTimeMaxSeconds = 3600;
inline constexpr int kCloseTimeStep = 10;
inline constexpr int kDmWhenLastItem = 3;  // "nie"

// Stored milliseconds -> the up-down position in whole seconds, kept within its range.
int CloseTimePosition(long long milliseconds);
// The up-down position -> milliseconds to store; never more than 3600000.
long long CloseTimeMilliseconds(int position);
// The edit's text as a position: a whole number from 0 to 3600, otherwise nothing (the
// last valid position stays).
std::optional<int> ParseCloseTimeText(std::string_view text);
// The stored DMWhenMessage as an item of the radio group: above the last item shows the
// last ("nie"), below the first shows the first.
int DmWhenItem(long long stored);

struct ConfigOptions {
    bool closeAuto = false;                 // CloseAutoC
    int closeTimePosition = 60;             // CloseTimeU, seconds
    bool closeAfterTime = true;             // CloseTimeRB
    bool closeAfterConnect = false;         // CloseConnectRB
    bool enableNetDde = false;              // DoNDDECB
    bool startAtLogon = false;              // StartAtLogonCB: the shell's, never stored
    bool initAlways = false;                // InitAlwaysCB
    bool alert = true;                      // AlertCB
    std::string nationalCalls = "0";        // NatCallsE, as typed
    std::string internationalCalls = "00";  // InternatCallsE, as typed
    int dmWhen = 2;                         // DMWhenRG
    std::string dmPath;                     // DMailPathE
    std::string dmReceiver;                 // DMailReceiverE
    std::string dmMessage;                  // DMailParamE
};

// What a showing of the dialog puts into the option controls. The two radio buttons exclude
// each other: when both are stored as set, the later one (close after connect) wins.
ConfigOptions LoadOptions(SettingsStore& store, const AppSettings& settings);

// Copies the options into the running monitor's settings (the next call uses them).
void TakeOptions(const ConfigOptions& options, AppSettings& settings);

// Stores the options in section Settings, in the dialog's order: CloseCallerForms,
// CloseTime, CloseAfterTime, CloseAfterConnect, InitAlways, NationalCalls,
// InternationalCalls, Alert, then DMWhenMessage, DMPath, DMReceiver, DMMessage.
// EnableNetDDE is not written here; the program's end stores it.
void WriteOptions(SettingsStore& store, const AppSettings& settings, const ConfigOptions& options);

}  // namespace telvor
