#pragma once
// Shared fixture of the call-handler tests: a recorder for the effects, a fixed clock, an
// in-memory settings tree and a scratch folder for the caller database.
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

#include "base/StringTable.h"
#include "monitor/CallPipeline.h"
#include "monitor/CallPorts.h"
#include "numbers/Numbers.h"
#include "store/AppSettings.h"
#include "store/CallerDatabase.h"
#include "store/CallerIndex.h"
#include "store/MemorySettingsStore.h"
#include "store/posix/PosixFileAccess.h"

namespace telvor::test {

// Records every effect by name, in order, and keeps the data of the interesting ones.
class RecorderPorts : public CallPorts {
  public:
    std::vector<std::string> events;
    std::map<CallerWindowId, CallerLabels> labels;
    std::map<CallerWindowId, bool> rejectEnabled;
    std::vector<std::string> protocolLines;
    std::vector<CallListEntry> callListEntries;
    std::string trayTip;
    TrayPicture trayPicture = TrayPicture::Normal;
    std::vector<ForwardLines> forwarded;
    std::vector<NcidCall> announced;
    std::vector<std::string> dmailTexts;
    std::vector<std::pair<std::string, SoundMode>> sounds;
    std::vector<std::pair<std::string, std::string>> programs;
    long long autoCloseMs = 0;
    CallerWindowId lastWindow = 0;
    // Run while the dmail message is being sent (the real exchange pumps messages).
    std::function<void()> duringDmail;

    CallerWindowId CreateCallerWindow(const CallerLabels& l) override {
        lastWindow = nextId_++;
        labels[lastWindow] = l;
        events.push_back("create");
        return lastWindow;
    }
    void StartAutoClose(CallerWindowId, long long ms) override {
        autoCloseMs = ms;
        events.push_back("autoclose");
    }
    void ShowCallerWindow(CallerWindowId, std::int32_t plci) override {
        events.push_back("show " + std::to_string(plci));
    }
    void DiscardCallerWindow(CallerWindowId) override { events.push_back("discard"); }
    void EnableReject(CallerWindowId w, bool enabled) override {
        rejectEnabled[w] = enabled;
        events.push_back(enabled ? "reject on" : "reject off");
    }
    void MarkCallCleared(CallerWindowId) override { events.push_back("cleared"); }
    void CloseCallerWindow(CallerWindowId) override { events.push_back("close"); }
    void WriteProtocolLine(std::string_view line) override {
        protocolLines.emplace_back(line);
        events.push_back("protocol");
    }
    void StoreCallListEntry(const CallListEntry& e) override {
        callListEntries.push_back(e);
        events.push_back("calllist");
    }
    void SetTrayTip(std::string_view tip) override {
        trayTip = tip;
        events.push_back("tip");
    }
    void SetTrayPicture(TrayPicture p) override {
        trayPicture = p;
        events.push_back(p == TrayPicture::CallerWindow ? "icon caller"
                         : p == TrayPicture::DisplayOff ? "icon off"
                                                        : "icon normal");
    }
    void NotifyTray() override { events.push_back("notify"); }
    void EnableBringToFront(bool enabled) override {
        events.push_back(enabled ? "front on" : "front off");
    }
    void ForwardToClients(const ForwardLines& lines) override {
        forwarded.push_back(lines);
        events.push_back("forward");
    }
    void AnnounceCall(std::int32_t, const NcidCall& call) override { announced.push_back(call); }
    void SendDmailMessage(std::string_view text) override {
        dmailTexts.emplace_back(text);
        events.push_back("dmail");
        if (duringDmail) duringDmail();
    }
    void IgnoreCall(std::int32_t plci) override {
        events.push_back("ignore " + std::to_string(plci));
    }
    void AlertCall(std::int32_t plci) override {
        events.push_back("alert " + std::to_string(plci));
    }
    void Reinitialise() override { events.push_back("reinit"); }
    void PlaySound(std::string_view path, SoundMode mode) override {
        sounds.emplace_back(std::string(path), mode);
        events.push_back("sound");
    }
    void StartProgram(std::string_view program, std::string_view parameters) override {
        programs.emplace_back(std::string(program), std::string(parameters));
        events.push_back("program");
    }

  private:
    CallerWindowId nextId_ = 1;
};

class FixedClock : public Clock {
  public:
    ClockReading reading{46363.6076, "07.12.26", "14:35"};
    ClockReading Now() override { return reading; }
};

// National number 0711 123456 as CONNECT_IND delivers it: type octet 0x21 (national, ISDN
// plan), presentation octet 0x80, then the digits without prefix.
inline std::string NationalNumber(std::string_view digits) {
    return std::string("\x21\x80") + std::string(digits);
}
// Type "unknown": the digits are taken as they are.
inline std::string PlainNumber(std::string_view digits) {
    return std::string("\x01\x80") + std::string(digits);
}

class PipelineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        LoadStartupTexts();
        static int counter = 0;
        dir_ = std::filesystem::temp_directory_path() /
               ("telvor-pipe-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
        std::filesystem::create_directories(dir_);
        dbPath_ = (dir_ / "CallerList.ddb").string();
        settings_.dmMessage = "Anruf von &NAME (&NUMBER) für &MSN um &TIME";
        settings_.dmWhenMessage = 3;  // most cases are about other things
        areaCodes_.SetLines({"N711\tStuttgart", "I44\tGroßbritannien"});
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    static MsnEntry Msn(std::string number, std::string name = {}) {
        MsnEntry e;
        e.number = std::move(number);
        e.name = std::move(name);
        return e;
    }
    void SetMsns(const std::vector<MsnEntry>& entries) { WriteMsnList(store_, entries); }
    void SetCallers(const std::vector<CallerRow>& rows) {
        ASSERT_TRUE(ReplaceCallers(dbPath_, rows));
    }

    CallInputs Inputs() {
        return CallInputs{store_, settings_, areaCodes_, dbPath_, callers_, suspended_, noIcon_};
    }
    void Ring(std::string calling, std::string called = "4711", std::uint16_t cip = 1,
              std::int32_t plci = 0x101) {
        IncomingCall call;
        call.plci = plci;
        call.cipValue = cip;
        call.calledNumber = std::move(called);
        call.callingNumber = std::move(calling);
        handlers_.CallPipeline(call, Inputs());
    }
    void Clear(std::int32_t plci) { handlers_.DisconnectHandler(plci, 0x3490, Inputs()); }
    const CallerLabels& Labels() { return ports_.labels.at(ports_.lastWindow); }

    std::filesystem::path dir_;
    std::string dbPath_;
    MemorySettingsStore store_;
    AppSettings settings_;
    AreaCodeList areaCodes_;
    PosixFileAccess files_;
    CallerIndex callers_{files_};
    bool suspended_ = false;
    bool noIcon_ = false;
    RecorderPorts ports_;
    FixedClock clock_;
    CallHandlers handlers_{ports_, clock_};
};

}  // namespace telvor::test
