#include "support/MonitorCase.h"

#include <gtest/gtest.h>
#include <utility>

#include "store/CallerDatabase.h"
#include "support/CaseFiles.h"
#include "support/CaseRegistry.h"
#include "support/WindowProbe.h"

namespace telvor::e2e {

namespace {

// The area codes every monitor case starts with.
constexpr char kAreaCodes[] =
    "N711\tStuttgart\r\nN30\tBerlin\r\nN89\tMünchen\r\nI44\tGroßbritannien\r\nI43\tÖsterreich\r\n";

}  // namespace

MonitorCase::MonitorCase(std::string name) : folder_(InstallMonitor(name)) {
    WriteFileBytes(File("AreaCode.txt"), kAreaCodes);
}

MonitorCase::MonitorCase(InstalledIn installed) : folder_(std::move(installed.folder)) {}

MonitorCase::~MonitorCase() {
    if (process_ && process_->IsRunning() && !Stop(15s)) process_->Terminate();
}

std::string MonitorCase::File(std::string_view name) const {
    return JoinPath(folder_, name);
}

ChildProcess& MonitorCase::Start(std::vector<std::string> args, unsigned controllers,
                                 std::map<std::string, std::string> environment) {
    LaunchOptions options(File("Telvor.exe"), std::move(args));
    options.In(folder_).Env("CAPISIM_CONTROLLERS", std::to_string(controllers)).OutputAs("telvor");
    for (auto& [key, value] : environment) options.Env(key, value);
    process_ = std::make_unique<ChildProcess>(options);
    return *process_;
}

void MonitorCase::SeedReturningUser() const {
    if (!firstStart_ && !ReadSetting("Settings", "Version"))
        WriteSetting("Settings", "Version", "2.00");
}

bool MonitorCase::StartListening(std::vector<std::string> args) {
    SeedReturningUser();
    Start(std::move(args));
    if (!sim_.Connect(30000)) {
        ADD_FAILURE() << "the simulator did not answer: " << sim_.LastError();
        return false;
    }
    if (!WaitForPut(capisim::kListen, capisim::kReq, {}, 30s)) {
        ADD_FAILURE() << "the monitor did not listen";
        return false;
    }
    if (!MainWindow()) {
        ADD_FAILURE() << "the monitor's main window did not appear";
        return false;
    }
    return true;
}

bool MonitorCase::StartWithoutLine(std::vector<std::string> args) {
    SeedReturningUser();
    Start(std::move(args));
    if (!MainWindow(30s)) {
        ADD_FAILURE() << "the monitor's main window did not appear";
        return false;
    }
    return true;
}

HWND MonitorCase::MainWindow(std::chrono::milliseconds timeout) {
    return test::WaitForTopLevelWindow("TTelvorMainForm", "TelvorServer", timeout);
}

bool MonitorCase::Ring(std::uint32_t plci, std::uint16_t cip, std::string_view called,
                       std::string_view callingDigits, std::uint8_t callingType) {
    return sim_.OfferConnectInd(plci, cip, capisim::NumberStruct(0x81, called),
                                capisim::CallingNumberStruct(callingType, 0x80, callingDigits),
                                capisim::EmptyStruct(), capisim::EmptyStruct());
}

bool MonitorCase::RingWithoutNumber(std::uint32_t plci, std::uint16_t cip,
                                    std::string_view called) {
    return sim_.OfferConnectInd(plci, cip, capisim::NumberStruct(0x81, called),
                                capisim::EmptyStruct(), capisim::EmptyStruct(),
                                capisim::EmptyStruct());
}

bool MonitorCase::HangUp(std::uint32_t plci, std::uint16_t reason) {
    return sim_.OfferDisconnectInd(plci, reason);
}

std::optional<capisim::Bytes> MonitorCase::WaitForPut(std::uint8_t command, std::uint8_t subcommand,
                                                      std::optional<std::uint32_t> plci,
                                                      std::chrono::milliseconds timeout) {
    const auto matches = [&](const capisim::Bytes& m) {
        return capisim::Command(m) == command && capisim::Subcommand(m) == subcommand &&
               (!plci || capisim::Plci(m) == *plci);
    };
    if (!sim_.WaitForPut(matches, static_cast<unsigned>(timeout.count()))) return std::nullopt;
    for (const capisim::Bytes& m : sim_.PutLog())
        if (matches(m)) return m;
    return std::nullopt;
}

std::vector<capisim::Bytes> MonitorCase::Puts(std::uint8_t command, std::uint8_t subcommand) {
    std::vector<capisim::Bytes> found;
    for (capisim::Bytes& m : sim_.PutLog())
        if (capisim::Command(m) == command && capisim::Subcommand(m) == subcommand)
            found.push_back(std::move(m));
    return found;
}

bool MonitorCase::Send(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND main = MainWindow(5s);
    DWORD_PTR result = 0;
    return main && SendMessageTimeoutA(main, message, wParam, lParam, SMTO_NORMAL, 20000, &result);
}

bool MonitorCase::Stop(std::chrono::milliseconds timeout) {
    if (!process_) return true;
    if (HWND main = MainWindow(1s)) PostMessageA(main, WM_CLOSE, 0, 0);
    return process_->WaitForExit(timeout);
}

void SeedMsn(unsigned index, std::string_view number, std::string_view name) {
    char section[32];
    std::snprintf(section, sizeof section, "MSNs\\%08X", index);
    WriteSetting(section, "Number", number);
    if (!name.empty()) WriteSetting(section, "Name", name);
}

void WriteCallerDatabase(const std::string& path, const std::vector<SeedCaller>& callers) {
    std::vector<CallerRow> rows;
    for (const SeedCaller& c : callers)
        rows.push_back(
            {c.number, c.name, JoinProgramColumn(c.program, c.parameter), c.dmail ? "X" : ""});
    if (!ReplaceCallers(path, rows)) throw std::runtime_error("cannot write " + path);
}

HWND ConfigureDialog(std::chrono::milliseconds timeout) {
    return test::WaitForTopLevelWindow("#32770", "Telvor einrichten", timeout);
}

}  // namespace telvor::e2e
