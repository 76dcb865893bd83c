#pragma once
// CAPI 2.0 messages as the monitor exchanges them: the encoders of every request and response
// it sends and the decoder of the messages it reacts to. All multi-byte values little-endian.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace telvor {

namespace capi {
inline constexpr std::uint8_t kAlert = 0x01;
inline constexpr std::uint8_t kConnect = 0x02;
inline constexpr std::uint8_t kDisconnect = 0x04;
inline constexpr std::uint8_t kListen = 0x05;

inline constexpr std::uint8_t kReq = 0x80;
inline constexpr std::uint8_t kConf = 0x81;
inline constexpr std::uint8_t kInd = 0x82;
inline constexpr std::uint8_t kResp = 0x83;

inline constexpr std::size_t kHeaderLength = 8;
// Every CIP value the standard defines: 0 (any) and 1-9, 16-28.
inline constexpr std::uint32_t kCipMaskAllServices = 0x1FFF03FF;
// Room of one decoded number or subaddress, in characters.
inline constexpr std::size_t kValueRoom = 1024;
}  // namespace capi

using CapiBytes = std::vector<std::uint8_t>;

struct CapiHeader {
    std::uint16_t totalLength = 0;
    std::uint16_t applId = 0;
    std::uint8_t command = 0;
    std::uint8_t subcommand = 0;
    std::uint16_t messageNumber = 0;
};

// Each encoder returns a buffer of exactly the message's length. Only the low 16 bits of
// applId go into the header.
CapiBytes EncodeListenReq(std::uint32_t applId, std::uint16_t messageNumber,
                          std::uint16_t controller, bool allServices);
CapiBytes EncodeAlertReq(std::uint32_t applId, std::uint16_t messageNumber, std::int32_t plci);
CapiBytes EncodeConnectResp(std::uint32_t applId, std::uint16_t messageNumber, std::int32_t plci,
                            std::uint16_t reject);
CapiBytes EncodeDisconnectReq(std::uint32_t applId, std::uint16_t messageNumber, std::int32_t plci);
CapiBytes EncodeDisconnectResp(std::uint32_t applId, std::uint16_t messageNumber,
                               std::int32_t plci);

struct ConnectIndication {
    std::int32_t plci = 0;
    std::uint16_t cipValue = 0;
    std::string calledNumber;       // without the type-of-number octet
    std::string callingNumber;      // with type-of-number and presentation octets
    std::string calledSubaddress;   // without the type-of-subaddress octet
    std::string callingSubaddress;  // without the type-of-subaddress octet
};

struct DisconnectIndication {
    std::int32_t plci = 0;
    std::uint16_t reason = 0;
};

struct ReceivedMessage {
    enum class Kind {
        Ignored,       // anything the monitor does not react to, and malformed messages
        Confirmation,  // ALERT_CONF or LISTEN_CONF: `info`
        ConnectInd,    // `connect`
        DisconnectInd  // `disconnect`
    };
    Kind kind = Kind::Ignored;
    CapiHeader header;
    std::uint16_t info = 0;
    ConnectIndication connect;
    DisconnectIndication disconnect;
};

// The total length a message states for itself (0 when not even that fits).
std::uint16_t StatedLength(std::span<const std::uint8_t> buffer);

// Decodes one received message. `buffer` is all memory the caller may read.
//
// Bounds rule: the message is the shorter of `buffer` and its own stated total length; no
// octet outside it is read, whatever the lengths inside claim.
//  - A message shorter than its header, or too short for the fixed parameters the monitor
//    acts on (Info of a confirmation, PLCI and CIP value of a CONNECT_IND, PLCI of a
//    DISCONNECT_IND), is ignored. A DISCONNECT_IND cut before its Reason reads Reason 0, so
//    that the clearing is still answered.
//  - The four number structures of a CONNECT_IND are cut at the message's end: a structure
//    whose length octet(s) lie beyond the end is empty, one that claims more contents than
//    remain keeps the contents that remain, and the following structures are then empty.
//  - A value ends before its first zero octet and keeps at most capi::kValueRoom characters.
// A truncated or lying message therefore yields the values that fit.
ReceivedMessage DecodeMessage(std::span<const std::uint8_t> buffer);

}  // namespace telvor
