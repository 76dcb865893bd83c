#include "capi/MessageNumbers.h"

namespace telvor {

void MessageNumbers::ConnectIndicated(std::uint32_t plci, std::uint16_t number) {
    connect_[plci] = number;
}

void MessageNumbers::DisconnectIndicated(std::uint32_t plci, std::uint16_t number) {
    connect_.erase(plci);
    disconnect_[plci] = number;
}

std::uint16_t MessageNumbers::TakeForConnectResp(std::uint32_t plci) {
    return Take(connect_, plci);
}

std::uint16_t MessageNumbers::TakeForDisconnectResp(std::uint32_t plci) {
    return Take(disconnect_, plci);
}

void MessageNumbers::Clear() {
    connect_.clear();
    disconnect_.clear();
}

std::uint16_t MessageNumbers::Take(std::map<std::uint32_t, std::uint16_t>& from,
                                   std::uint32_t plci) {
    auto it = from.find(plci);
    if (it == from.end()) return 0;
    const std::uint16_t number = it->second;
    from.erase(it);
    return number;
}

}  // namespace telvor
