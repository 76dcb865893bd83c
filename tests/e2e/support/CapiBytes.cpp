#include "support/CapiBytes.h"

namespace telvor::e2e {

namespace {

using capisim::Bytes;

void Word(Bytes& b, std::uint16_t v) {
    b.push_back(static_cast<std::uint8_t>(v & 0xFF));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Dword(Bytes& b, std::uint32_t v) {
    Word(b, static_cast<std::uint16_t>(v & 0xFFFF));
    Word(b, static_cast<std::uint16_t>(v >> 16));
}

// Header with a placeholder length, completed by Sealed.
Bytes Header(std::uint16_t applId, std::uint8_t command, std::uint8_t subcommand,
             std::uint16_t number) {
    Bytes b;
    Word(b, 0);
    Word(b, applId);
    b.push_back(command);
    b.push_back(subcommand);
    Word(b, number);
    return b;
}

Bytes Sealed(Bytes b) {
    b[0] = static_cast<std::uint8_t>(b.size() & 0xFF);
    b[1] = static_cast<std::uint8_t>(b.size() >> 8);
    return b;
}

void Append(Bytes& b, const Bytes& more) {
    b.insert(b.end(), more.begin(), more.end());
}

}  // namespace

Bytes ConnectIndBytes(std::uint16_t applId, std::uint16_t messageNumber, std::uint32_t plci,
                      std::uint16_t cip, std::string_view called, std::string_view callingDigits,
                      std::uint8_t callingType) {
    Bytes b = Header(applId, capisim::kConnect, capisim::kInd, messageNumber);
    Dword(b, plci);
    Word(b, cip);
    Append(b, capisim::NumberStruct(0x81, called));
    Append(b, capisim::CallingNumberStruct(callingType, 0x80, callingDigits));
    Append(b, capisim::EmptyStruct());
    Append(b, capisim::EmptyStruct());
    b.insert(b.end(), 5, 0);  // BC, LLC, HLC, additional info, second calling number
    return Sealed(std::move(b));
}

Bytes DisconnectIndBytes(std::uint16_t applId, std::uint16_t messageNumber, std::uint32_t plci,
                         std::uint16_t reason) {
    Bytes b = Header(applId, capisim::kDisconnect, capisim::kInd, messageNumber);
    Dword(b, plci);
    Word(b, reason);
    return Sealed(std::move(b));
}

Bytes AlertReqBytes(std::uint16_t applId, std::uint32_t plci) {
    Bytes b = Header(applId, capisim::kAlert, capisim::kReq, 0);
    Dword(b, plci);
    Dword(b, 0);  // empty additional info and three zero octets: 16 bytes in all
    return Sealed(std::move(b));
}

Bytes ConnectRespBytes(std::uint16_t applId, std::uint16_t messageNumber, std::uint32_t plci,
                       std::uint16_t reject) {
    Bytes b = Header(applId, capisim::kConnect, capisim::kResp, messageNumber);
    Dword(b, plci);
    Word(b, reject);
    b.insert(b.end(), 5, 0);  // B protocol, connected number and subaddress, LLC, additional info
    return Sealed(std::move(b));
}

Bytes DisconnectReqBytes(std::uint16_t applId, std::uint32_t plci) {
    Bytes b = Header(applId, capisim::kDisconnect, capisim::kReq, 0);
    Dword(b, plci);
    b.push_back(0);  // empty additional info
    return Sealed(std::move(b));
}

Bytes DisconnectRespBytes(std::uint16_t applId, std::uint16_t messageNumber, std::uint32_t plci) {
    Bytes b = Header(applId, capisim::kDisconnect, capisim::kResp, messageNumber);
    Dword(b, plci);
    return Sealed(std::move(b));
}

Bytes ListenReqBytes(std::uint16_t applId, std::uint32_t controller, bool on) {
    Bytes b = Header(applId, capisim::kListen, capisim::kReq, 0);
    Dword(b, controller);
    Dword(b, 0);
    Dword(b, on ? 0x1FFF03FFu : 0u);
    Dword(b, 0);
    b.push_back(0);
    b.push_back(0);
    return Sealed(std::move(b));
}

}  // namespace telvor::e2e
