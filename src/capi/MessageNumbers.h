#pragma once
// Message numbers of the indications still to be answered. A response must repeat the number
// of the indication it answers; requests carry 0.
#include <cstdint>
#include <map>

namespace telvor {

class MessageNumbers {
  public:
    // A CONNECT_IND arrived for `plci`; its CONNECT_RESP is still owed.
    void ConnectIndicated(std::uint32_t plci, std::uint16_t number);
    // A DISCONNECT_IND arrived: the call is gone, so a CONNECT_IND number of the same PLCI
    // is dropped as well; the DISCONNECT_RESP is owed.
    void DisconnectIndicated(std::uint32_t plci, std::uint16_t number);

    // The number for a CONNECT_RESP / DISCONNECT_RESP of `plci`, forgotten once used; 0 when
    // no indication of that PLCI is pending.
    std::uint16_t TakeForConnectResp(std::uint32_t plci);
    std::uint16_t TakeForDisconnectResp(std::uint32_t plci);

    // A released registration owes nothing.
    void Clear();

    std::size_t Pending() const { return connect_.size() + disconnect_.size(); }

  private:
    static std::uint16_t Take(std::map<std::uint32_t, std::uint16_t>& from, std::uint32_t plci);

    std::map<std::uint32_t, std::uint16_t> connect_;
    std::map<std::uint32_t, std::uint16_t> disconnect_;
};

}  // namespace telvor
