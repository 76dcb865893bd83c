#pragma once
// The exact messages a case expects the monitor to put on the line, byte for byte. They are
// written out here from the standard's layouts, on purpose apart from the monitor's own
// encoders (src/capi): a check against those would only compare the encoders with themselves.
// Indications offered to the monitor are built with the simulator's codec (capisim::ConnectInd,
// capisim::DisconnectInd).
#include <cstdint>

#include "CapiSimClient.h"

namespace telvor::e2e {

capisim::Bytes AlertReqBytes(std::uint16_t applId, std::uint32_t plci);
capisim::Bytes ConnectRespBytes(std::uint16_t applId, std::uint16_t messageNumber,
                                std::uint32_t plci, std::uint16_t reject);
capisim::Bytes DisconnectReqBytes(std::uint16_t applId, std::uint32_t plci);
capisim::Bytes DisconnectRespBytes(std::uint16_t applId, std::uint16_t messageNumber,
                                   std::uint32_t plci);
capisim::Bytes ListenReqBytes(std::uint16_t applId, std::uint32_t controller, bool on);

}  // namespace telvor::e2e
