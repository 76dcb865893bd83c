// Registration of client machines: one entry per client whatever the letter case, renewal
// moves to the end, expiry wherever the entry stands.
#include "netdde/ClientList.h"

#include <gtest/gtest.h>

#include <chrono>

namespace telvor {
namespace {

using namespace std::chrono_literals;
using Ids = std::vector<std::string>;

TEST(ClientList, RenewedRegistrationMovesToTheEndWithItsNewTime) {
    ClientList list;
    list.Register("\\\\PC2\\", MonotonicTime(1000));
    list.Register("\\\\PC3\\", MonotonicTime(2000));
    list.Register("\\\\PC2\\", MonotonicTime(1000 + 50'000));  // within a minute
    EXPECT_EQ(list.Ids(), (Ids{"\\\\PC3\\", "\\\\PC2\\"}));
    EXPECT_EQ(list.Entries().back().registered.At(), MonotonicTime(51'000));
}

TEST(ClientList, LetterCaseDoesNotMakeAnotherClient) {
    ClientList list;
    list.Register("\\\\pc2\\", MonotonicTime(0));
    list.Register("\\\\PC2\\", MonotonicTime(10));
    EXPECT_EQ(list.Ids(), (Ids{"\\\\PC2\\"})) << "the newest spelling is kept";
    list.Register("\\\\büro\\", MonotonicTime(20));
    list.Register("\\\\BÜRO\\", MonotonicTime(30));
    EXPECT_EQ(list.Size(), 2u);
    EXPECT_TRUE(SameClientId("\\\\Pc2\\", "\\\\pC2\\"));
    EXPECT_FALSE(SameClientId("\\\\PC2\\", "\\\\PC2"));
    EXPECT_FALSE(SameClientId("\\\\PC2\\", "\\\\PC3\\"));
}

TEST(ClientList, ExpiredEntriesGoWhereverTheyStandAndTheRestKeepTheirOrder) {
    for (std::size_t stale = 0; stale < 3; ++stale) {
        ClientList list;
        Ids expected;
        for (std::size_t i = 0; i < 3; ++i) {
            const std::string id = "\\\\PC" + std::to_string(i) + "\\";
            // The stale one registered at 0, the others a minute later.
            list.Register(id, i == stale ? MonotonicTime(0) : MonotonicTime(60'000));
            if (i != stale) expected.push_back(id);
        }
        // Registered with decreasing ages, so the stale one may stand anywhere.
        EXPECT_EQ(list.RemoveExpired(MonotonicTime(120'001)), 1u) << "stale at " << stale;
        EXPECT_EQ(list.Ids(), expected) << "stale at " << stale;
    }
}

TEST(ClientList, ExactlyTwoMinutesOldIsStillRegistered) {
    ClientList list;
    list.Register("\\\\PC2\\", MonotonicTime(5000));
    EXPECT_EQ(list.RemoveExpired(MonotonicTime(5000) + kRegistrationLifetime), 0u);
    EXPECT_EQ(list.RemoveExpired(MonotonicTime(5001) + kRegistrationLifetime), 1u);
    EXPECT_TRUE(list.Empty());
}

TEST(FirstLine, TheIdEndsAtTheFirstLineEndOrNul) {
    EXPECT_EQ(FirstLine("\\\\PC2\\\r\nsecond\r\nthird"), "\\\\PC2\\");
    EXPECT_EQ(FirstLine("\\\\PC2\\\nsecond"), "\\\\PC2\\");
    EXPECT_EQ(FirstLine("\\\\PC2\\\rsecond"), "\\\\PC2\\");
    EXPECT_EQ(FirstLine(std::string_view("\\\\PC2\\\0rest", 10)), "\\\\PC2\\");
    EXPECT_EQ(FirstLine("\\\\PC2\\"), "\\\\PC2\\");
    EXPECT_EQ(FirstLine(""), "");
    EXPECT_EQ(FirstLine("\r\n\\\\PC2\\"), "");
}

}  // namespace
}  // namespace telvor
