#include "support/ExpectedPuts.h"

namespace telvor::e2e {

using capisim::AppendDword;
using capisim::AppendWord;
using capisim::Bytes;

Bytes AlertReqBytes(std::uint16_t applId, std::uint32_t plci) {
    Bytes params;
    AppendDword(params, plci);
    AppendDword(params, 0);  // empty additional info and three zero octets: 16 bytes in all
    return capisim::Message(applId, capisim::kAlert, capisim::kReq, 0, params);
}

Bytes ConnectRespBytes(std::uint16_t applId, std::uint16_t messageNumber, std::uint32_t plci,
                       std::uint16_t reject) {
    Bytes params;
    AppendDword(params, plci);
    AppendWord(params, reject);
    params.insert(params.end(), 5, 0);  // B protocol, connected number and subaddress, LLC,
                                        // additional info
    return capisim::Message(applId, capisim::kConnect, capisim::kResp, messageNumber, params);
}

Bytes DisconnectReqBytes(std::uint16_t applId, std::uint32_t plci) {
    Bytes params;
    AppendDword(params, plci);
    params.push_back(0);  // empty additional info
    return capisim::Message(applId, capisim::kDisconnect, capisim::kReq, 0, params);
}

Bytes DisconnectRespBytes(std::uint16_t applId, std::uint16_t messageNumber, std::uint32_t plci) {
    Bytes params;
    AppendDword(params, plci);
    return capisim::Message(applId, capisim::kDisconnect, capisim::kResp, messageNumber, params);
}

Bytes ListenReqBytes(std::uint16_t applId, std::uint32_t controller, bool on) {
    Bytes params;
    AppendDword(params, controller);
    AppendDword(params, 0);                      // info mask
    AppendDword(params, on ? 0x1FFF03FFu : 0u);  // CIP mask: every service, or none
    AppendDword(params, 0);                      // CIP mask 2
    params.push_back(0);                         // calling number and subaddress: empty
    params.push_back(0);
    return capisim::Message(applId, capisim::kListen, capisim::kReq, 0, params);
}

}  // namespace telvor::e2e
