#pragma once
// One installed monitor of an e2e case: Telvor.exe and the line simulator in a folder of the
// case, seeded settings, a started process, and the simulator's control client. The
// destructor ends the monitor (orderly when it still answers, by its handle otherwise).
#include <windows.h>

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "CapiSimClient.h"
#include "support/ChildProcess.h"

namespace telvor::e2e {

using namespace std::chrono_literals;

inline constexpr UINT kTrayIconMessage = 0x401;
inline constexpr UINT kShowConfigMessage = 0x402;
inline constexpr UINT kSetDisplayMessage = 0x403;

// A monitor installed by other means, e.g. an unpacked package: the folder is used as it is.
struct InstalledIn {
    std::string folder;
};

class MonitorCase {
  public:
    // Installs Telvor.exe, Capi2032.dll and the sample AreaCode.txt into <case>\<name>.
    explicit MonitorCase(std::string name = "Telvor");
    explicit MonitorCase(InstalledIn installed);
    ~MonitorCase();
    MonitorCase(const MonitorCase&) = delete;
    MonitorCase& operator=(const MonitorCase&) = delete;

    const std::string& Folder() const { return folder_; }
    std::string File(std::string_view name) const;

    // Starts Telvor.exe in its folder. `controllers` goes to the simulator
    // (CAPISIM_CONTROLLERS); extra environment variables are added.
    ChildProcess& Start(std::vector<std::string> args = {}, unsigned controllers = 1,
                        std::map<std::string, std::string> environment = {});
    // Start, then wait until the simulator answers and the monitor has put its LISTEN_REQ
    // and its main window exists. Fails the calling test (ADD_FAILURE) when not. The monitor
    // meets a user who has run it before (settings version "2.00"), unless FirstStart() was
    // called: a first start opens the configuration dialog with its greeting.
    bool StartListening(std::vector<std::string> args = {});
    // Start, then wait only for the main window: a monitor that takes its calls from an NCID
    // server alone never asks the line (take Capi2032.dll out of the folder for it).
    bool StartWithoutLine(std::vector<std::string> args = {});
    void FirstStart() { firstStart_ = true; }
    ChildProcess& Process() { return *process_; }
    capisim::Client& Sim() { return sim_; }
    // The hidden main window ("TTelvorMainForm", "TelvorServer").
    HWND MainWindow(std::chrono::milliseconds timeout = 20s);

    // Offers a call: type octet 0x21 (national) unless given; presentation octet 0x80.
    bool Ring(std::uint32_t plci, std::uint16_t cip, std::string_view called,
              std::string_view callingDigits, std::uint8_t callingType = 0x21);
    // A call that carries no calling number (an empty structure).
    bool RingWithoutNumber(std::uint32_t plci, std::uint16_t cip, std::string_view called);
    bool HangUp(std::uint32_t plci, std::uint16_t reason = 0x3490);

    // Waits until the monitor put a message with this command and subcommand (and PLCI, if
    // given); returns it.
    std::optional<capisim::Bytes> WaitForPut(std::uint8_t command, std::uint8_t subcommand,
                                             std::optional<std::uint32_t> plci = {},
                                             std::chrono::milliseconds timeout = 20s);
    // The messages put so far with this command and subcommand.
    std::vector<capisim::Bytes> Puts(std::uint8_t command, std::uint8_t subcommand);

    // Sends a control message to the main window (bounded), as the shell or a second start do.
    bool Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Asks the monitor to end (WM_CLOSE to its main window) and waits for its exit.
    bool Stop(std::chrono::milliseconds timeout = 30s);

  private:
    void SeedReturningUser() const;

    std::string folder_;
    std::unique_ptr<ChildProcess> process_;
    capisim::Client sim_;
    bool firstStart_ = false;
};

// Seeds MSN entry `index` with a number and optional name (all other values default).
void SeedMsn(unsigned index, std::string_view number, std::string_view name = {});

// Writes a caller database of 832-byte records: (number, name, dmail marker).
struct SeedCaller {
    std::string number;
    std::string name;
    bool dmail = false;
    std::string program;
    std::string parameter;
};
void WriteCallerDatabase(const std::string& path, const std::vector<SeedCaller>& callers);

// The configuration dialog ("Telvor einrichten"), hidden or not; it exists for the whole run
// of a monitor.
HWND ConfigureDialog(std::chrono::milliseconds timeout = 20s);

}  // namespace telvor::e2e
