// Client of the line simulator's control pipe: offers calls to the application that loaded
// Capi2032.dll and reads back what it put. Used by the Wine test tiers and by capisimctl;
// works from another process and from the process that loaded the simulator alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace capisim {

using Bytes = std::vector<std::uint8_t>;

// Command and subcommand octets of the messages the simulator knows.
inline constexpr std::uint8_t kAlert = 0x01;
inline constexpr std::uint8_t kConnect = 0x02;
inline constexpr std::uint8_t kConnectActive = 0x03;
inline constexpr std::uint8_t kDisconnect = 0x04;
inline constexpr std::uint8_t kListen = 0x05;
inline constexpr std::uint8_t kReq = 0x80;
inline constexpr std::uint8_t kConf = 0x81;
inline constexpr std::uint8_t kInd = 0x82;
inline constexpr std::uint8_t kResp = 0x83;

// Default control pipe; the DLL and the client both honour CAPISIM_PIPE.
std::string DefaultPipeName();

// --- structure builders (complete structures, length octet included) ----------------------
// Called number / subaddress: length, type octet, digits.
Bytes NumberStruct(std::uint8_t typeOctet, std::string_view digits);
// Calling number: length, type octet, presentation and screening octet, digits.
Bytes CallingNumberStruct(std::uint8_t typeOctet, std::uint8_t presentationOctet,
                          std::string_view digits);
// A structure of length 0.
Bytes EmptyStruct();

// --- whole messages ----------------------------------------------------------------------
// Little-endian parameters.
void AppendWord(Bytes& b, std::uint16_t v);
void AppendDword(Bytes& b, std::uint32_t v);
// Header and parameters, the total length filled in; empty when longer than 65535 octets.
Bytes Message(std::uint16_t applId, std::uint8_t command, std::uint8_t subcommand,
              std::uint16_t messageNumber, const Bytes& params);
// CONNECT_IND: PLCI, CIP value, the four given structures, then BC, LLC, HLC, additional
// info and second calling number, all empty.
Bytes ConnectInd(std::uint16_t applId, std::uint16_t messageNumber, std::uint32_t plci,
                 std::uint16_t cip, const Bytes& called, const Bytes& calling,
                 const Bytes& calledSub = EmptyStruct(), const Bytes& callingSub = EmptyStruct());
Bytes DisconnectInd(std::uint16_t applId, std::uint16_t messageNumber, std::uint32_t plci,
                    std::uint16_t reason);

// --- decoding helpers for tests (0 when the message is too short for the field) -----------
std::uint16_t TotalLength(const Bytes& msg);    // offset 0
std::uint16_t ApplId(const Bytes& msg);         // offset 2
std::uint8_t Command(const Bytes& msg);         // offset 4
std::uint8_t Subcommand(const Bytes& msg);      // offset 5
std::uint16_t MessageNumber(const Bytes& msg);  // offset 6
std::uint32_t Plci(const Bytes& msg);           // offset 8 (also Controller of LISTEN_REQ)
std::uint16_t Word(const Bytes& msg, std::size_t offset);
std::uint32_t Dword(const Bytes& msg, std::size_t offset);

// Hex text of bytes ("0C00..."), and back; FromHex returns false on odd length or non-hex.
std::string ToHex(const Bytes& bytes);
bool FromHex(std::string_view text, Bytes& out);

// Connection to the simulator's control pipe. Every request opens the pipe, sends one line
// and reads the answer; every wait is bounded. On failure a call returns false (or an empty
// result) and LastError() says why.
class Client {
  public:
    explicit Client(std::string pipeName = DefaultPipeName());

    // Waits up to timeout_ms for the simulator's pipe to answer.
    bool Connect(unsigned timeout_ms = 10000);

    // applId 0: the most recently registered application still registered, or, when none
    // is, kept until the next REGISTER.
    bool OfferConnectInd(std::uint32_t plci, std::uint16_t cip, const Bytes& called,
                         const Bytes& calling, const Bytes& calledSub, const Bytes& callingSub,
                         std::uint16_t applId = 0);
    bool OfferDisconnectInd(std::uint32_t plci, std::uint16_t reason, std::uint16_t applId = 0);
    // Delivered exactly as given, header included, whatever its length field says.
    bool OfferRaw(const Bytes& bytes, std::uint16_t applId = 0);

    bool SetControllers(unsigned count);

    // Messages the application put, in order, since the last ClearLog.
    std::vector<Bytes> PutLog();
    // Event lines in order: "REGISTER <appl>", "RELEASE <appl>", "PUT <appl> <hex>".
    std::vector<std::string> Events();
    bool ClearLog();

    // True as soon as a logged message satisfies the predicate (or the log holds at least
    // count messages); false when timeout_ms passes first.
    bool WaitForPut(const std::function<bool(const Bytes&)>& predicate, unsigned timeout_ms);
    bool WaitForPut(std::size_t count, unsigned timeout_ms);

    const std::string& LastError() const { return lastError_; }

    // One request line, the answer's data lines (after "OK") in lines; for tools.
    bool Request(const std::string& line, std::vector<std::string>& lines);

  private:
    std::string pipeName_;
    std::string lastError_;
    unsigned requestTimeoutMs_ = 5000;
};

}  // namespace capisim
