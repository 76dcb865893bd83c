// The simulated CAPI 2.0 line: registrations, per-application message queues, the answers a
// controller gives to the requests the monitor sends, and the log of everything put.
// Portable and thread-safe: WaitForSignal blocks one thread while others put and get.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "CapiSimClient.h"

namespace capisim {

// The standard's result codes that the simulator returns.
namespace err {
inline constexpr std::uint32_t kOk = 0;
inline constexpr std::uint32_t kTooManyApplications = 0x1001;
inline constexpr std::uint32_t kRegisterOsResource = 0x1008;
inline constexpr std::uint32_t kIllegalApplId = 0x1101;
inline constexpr std::uint32_t kIllegalMessage = 0x1102;
inline constexpr std::uint32_t kQueueEmpty = 0x1104;
inline constexpr std::uint32_t kOsResource = 0x1108;
inline constexpr std::uint32_t kIllegalController = 0x2002;
}  // namespace err

inline constexpr unsigned kMaxControllers = 127;  // controller numbers are 7 bits wide
inline constexpr std::size_t kProfileSize = 64;

struct LogEvent {
    enum class Kind { Register, Release, Put };
    Kind kind;
    std::uint16_t applId;
    Bytes bytes;           // Put only
    std::uint32_t result;  // Put only: what PUT_MESSAGE returned
};

// "REGISTER 1", "RELEASE 1", "PUT 1 <hex>" (" REFUSED 0x1101" appended when refused).
std::string FormatEvent(const LogEvent& e);

class Simulator {
  public:
    // Receives one text line per event (the log file); called in event order.
    using Sink = std::function<void(const std::string&)>;

    explicit Simulator(unsigned controllers = 1);

    void SetSink(Sink sink);
    void SetControllers(unsigned count);  // clamped to kMaxControllers
    unsigned Controllers() const;

    // The six entry points.
    std::uint32_t Register(std::uint32_t* applId);
    std::uint32_t Release(std::uint32_t applId);
    // msg points at a complete message whose total length is in its first two octets.
    std::uint32_t PutMessage(std::uint32_t applId, const std::uint8_t* msg);
    // *msg stays valid until this application's next GetMessage or its release.
    std::uint32_t FetchMessage(std::uint32_t applId, const std::uint8_t** msg);
    std::uint32_t WaitForSignal(std::uint32_t applId);
    std::uint32_t GetProfile(std::uint8_t* buffer, std::uint32_t controller) const;

    // Offers. applId 0 = the newest registered application, or kept for the next REGISTER
    // when none is registered. Returns false with a reason when the offer cannot be made.
    bool OfferConnectInd(std::uint32_t plci, std::uint16_t cip, const Bytes& called,
                         const Bytes& calling, const Bytes& calledSub, const Bytes& callingSub,
                         std::uint16_t applId, std::string& error);
    bool OfferDisconnectInd(std::uint32_t plci, std::uint16_t reason, std::uint16_t applId,
                            std::string& error);
    bool OfferRaw(const Bytes& bytes, std::uint16_t applId, std::string& error);

    std::vector<LogEvent> Log() const;
    void ClearLog();

  private:
    struct Queued {
        Bytes bytes;
        bool stampApplId;  // simulator-made messages carry the receiver's id; raw ones do not
    };
    struct Application {
        std::uint16_t id = 0;
        bool released = false;
        std::deque<Queued> queue;
        Bytes current;  // the message GetMessage handed out last
        std::condition_variable signal;
    };

    std::shared_ptr<Application> FindLocked(std::uint32_t applId) const;
    void DeliverLocked(Application& app, Queued q);
    bool OfferLocked(Queued q, std::uint16_t applId, std::string& error);
    void AnswerLocked(Application& app, const Bytes& msg);
    std::uint16_t NextMessageNumberLocked();
    Bytes MakeIndicationLocked(std::uint8_t command, std::uint32_t plci, const Bytes& params);
    void RecordLocked(LogEvent e);
    void EmitLocked(const std::string& line);

    mutable std::mutex mutex_;
    unsigned controllers_;
    std::uint32_t nextApplId_ = 1;
    std::uint16_t nextMessageNumber_ = 1;
    std::map<std::uint16_t, std::shared_ptr<Application>> apps_;
    std::deque<Queued> pending_;  // offers made while no application was registered
    std::vector<LogEvent> log_;
    Sink sink_;
};

}  // namespace capisim
