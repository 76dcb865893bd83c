#include "capi/MessageNumbers.h"

#include <gtest/gtest.h>

namespace telvor {
namespace {

TEST(MessageNumbers, ResponsesRepeatTheNumberOfTheirIndicationOnce) {
    MessageNumbers numbers;
    numbers.ConnectIndicated(0x101, 11);
    numbers.ConnectIndicated(0x201, 12);
    EXPECT_EQ(numbers.TakeForConnectResp(0x201), 12);
    EXPECT_EQ(numbers.TakeForConnectResp(0x101), 11);
    EXPECT_EQ(numbers.TakeForConnectResp(0x101), 0);  // already answered
    EXPECT_EQ(numbers.TakeForConnectResp(0x999), 0);  // never indicated

    numbers.DisconnectIndicated(0x101, 40);
    EXPECT_EQ(numbers.TakeForDisconnectResp(0x101), 40);
    EXPECT_EQ(numbers.TakeForDisconnectResp(0x101), 0);
    EXPECT_EQ(numbers.Pending(), 0u);
}

TEST(MessageNumbers, ClearingOrReleasingDropsWhatIsOwed) {
    MessageNumbers numbers;
    // A held call (ALERT_REQ) that the caller gives up: its CONNECT_IND is never answered
    // and must not linger.
    numbers.ConnectIndicated(0x101, 3);
    numbers.DisconnectIndicated(0x101, 4);
    EXPECT_EQ(numbers.TakeForConnectResp(0x101), 0);
    EXPECT_EQ(numbers.TakeForDisconnectResp(0x101), 4);

    // The same PLCI offered again later gets the new number.
    numbers.ConnectIndicated(0x101, 5);
    numbers.ConnectIndicated(0x101, 6);
    EXPECT_EQ(numbers.TakeForConnectResp(0x101), 6);

    numbers.ConnectIndicated(0x301, 8);
    numbers.DisconnectIndicated(0x302, 9);
    numbers.Clear();
    EXPECT_EQ(numbers.Pending(), 0u);
    EXPECT_EQ(numbers.TakeForConnectResp(0x301), 0);
}

}  // namespace
}  // namespace telvor
