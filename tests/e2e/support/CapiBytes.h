#pragma once
// CAPI messages as bytes, for offering indications with a chosen message number and for the
// exact messages a test expects the monitor to put.
#include <cstdint>
#include <string_view>

#include "CapiSimClient.h"

namespace telvor::e2e {

// A CONNECT_IND with our own message number: called number (type 0x81), calling number
// (type octet, presentation 0x80, digits), empty subaddresses and the five empty trailing
// structures.
capisim::Bytes ConnectIndBytes(std::uint16_t applId, std::uint16_t messageNumber,
                               std::uint32_t plci, std::uint16_t cip, std::string_view called,
                               std::string_view callingDigits, std::uint8_t callingType = 0x21);
capisim::Bytes DisconnectIndBytes(std::uint16_t applId, std::uint16_t messageNumber,
                                  std::uint32_t plci, std::uint16_t reason);

// What the monitor puts.
capisim::Bytes AlertReqBytes(std::uint16_t applId, std::uint32_t plci);
capisim::Bytes ConnectRespBytes(std::uint16_t applId, std::uint16_t messageNumber,
                                std::uint32_t plci, std::uint16_t reject);
capisim::Bytes DisconnectReqBytes(std::uint16_t applId, std::uint32_t plci);
capisim::Bytes DisconnectRespBytes(std::uint16_t applId, std::uint16_t messageNumber,
                                   std::uint32_t plci);
capisim::Bytes ListenReqBytes(std::uint16_t applId, std::uint32_t controller, bool on);

}  // namespace telvor::e2e
