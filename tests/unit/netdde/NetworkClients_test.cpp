// Registration pokes, the expiry tick and forwarding together, under the switch EnableNetDDE,
// with a fake clock and a fake transport.
#include "netdde/NetworkClients.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

#include "netdde/NetDdeNames.h"

namespace telvor {
namespace {

using namespace std::chrono_literals;
using Ids = std::vector<std::string>;

class FakeClock : public MonotonicClock {
  public:
    MonotonicTime now{1'000'000};
    MonotonicTime Now() override { return now; }
};

class FakeConnector : public ClientConnector {
  public:
    std::vector<ClientShare> shares;
    std::vector<std::string> payloads;
    std::vector<std::string> unreachable;  // services that do not answer
    std::function<void()> whilePoking;     // the message loop runs during a poke

    bool PokeClient(const ClientShare& share, const std::string& payload) override {
        shares.push_back(share);
        payloads.push_back(payload);
        if (whilePoking) whilePoking();
        return std::find(unreachable.begin(), unreachable.end(), share.service) ==
               unreachable.end();
    }
    Ids Services() const {
        Ids s;
        for (const ClientShare& share : shares) s.push_back(share.service);
        return s;
    }
};

const ForwardPayloadLines kCall{"Hans Muster",
                                "(0711) 123456",
                                "Stuttgart",
                                "Büro (4711)",
                                "8.12.2026  14:35",
                                "Telefongespräch oder Analog",
                                "Telvor - Hans Muster für Büro um 14:35 Uhr"};

class NetworkClientsTest : public ::testing::Test {
  protected:
    bool enabled_ = true;
    FakeClock clock_;
    FakeConnector connector_;
    NetworkClients clients_{[this] { return enabled_; }, clock_};

    Ids Registered() const { return clients_.Clients().Ids(); }
};

TEST_F(NetworkClientsTest, APokeRegistersOnlyItsFirstLine) {
    clients_.RegisterPokeData("\\\\PC2\\\r\n\\\\PC3\\\r\n");
    EXPECT_EQ(Registered(), (Ids{"\\\\PC2\\"}));
}

TEST_F(NetworkClientsTest, OnlyMachinePathsAreRegistered) {
    EXPECT_FALSE(clients_.RegisterPokeData(""));
    EXPECT_FALSE(clients_.RegisterPokeData(std::string(64 * 1024, 'x')));  // no line end at all
    EXPECT_FALSE(clients_.RegisterPokeData("\\\\evil\\share\\run.exe \r\n"));
    EXPECT_FALSE(clients_.RegisterPokeData("\\\\" + std::string(16, 'A') + "\\"));
    EXPECT_TRUE(Registered().empty());

    const std::string lines = "\\\\PC9\\\r\n" + std::string(64 * 1024, 'y');
    EXPECT_TRUE(clients_.RegisterPokeData(lines));
    EXPECT_EQ(Registered(), (Ids{"\\\\PC9\\"}));
    EXPECT_EQ(clients_.ForwardCall(kCall, connector_), 1u);
    EXPECT_TRUE(connector_.shares[0].mayStartService);
}

TEST_F(NetworkClientsTest, AtMost64ClientsAndAKnownOneStillRenews) {
    for (int i = 0; i < 64; ++i)
        ASSERT_TRUE(clients_.RegisterPokeData("\\\\PC" + std::to_string(i) + "\\"));
    EXPECT_FALSE(clients_.RegisterPokeData("\\\\PC64\\"));
    EXPECT_EQ(Registered().size(), 64u);
    clock_.now += 100s;
    EXPECT_TRUE(clients_.RegisterPokeData("\\\\pc0\\"));
    EXPECT_EQ(Registered().back(), "\\\\pc0\\");
    // Room again once registrations expire.
    clock_.now += 30s;
    clients_.NDDETimerTimer();
    EXPECT_TRUE(clients_.RegisterPokeData("\\\\PC64\\"));
    EXPECT_EQ(Registered(), (Ids{"\\\\pc0\\", "\\\\PC64\\"}));
}

TEST_F(NetworkClientsTest, ARegistrationLivesTwoToThreeAndAHalfMinutes) {
    clients_.RegisterPokeData("\\\\PC2\\\r\n");
    clock_.now += 90s;
    clients_.NDDETimerTimer();
    EXPECT_EQ(Registered().size(), 1u);
    clock_.now += 90s;  // 3 minutes: older than two
    clients_.NDDETimerTimer();
    EXPECT_TRUE(Registered().empty());

    // A client renewing every 100 s never drops out.
    clients_.RegisterPokeData("\\\\PC3\\");
    for (int tick = 0; tick < 10; ++tick) {
        clock_.now += 50s;
        clients_.NDDETimerTimer();
        clock_.now += 50s;
        clients_.RegisterPokeData("\\\\pc3\\");
    }
    EXPECT_EQ(Registered(), (Ids{"\\\\pc3\\"}));
}

TEST_F(NetworkClientsTest, ACallGoesToEveryClientInOrderByteForByte) {
    clients_.RegisterPokeData("\\\\PC2\\");
    clients_.RegisterPokeData("\\\\PC3\\");
    EXPECT_EQ(clients_.ForwardCall(kCall, connector_), 2u);
    EXPECT_EQ(connector_.Services(), (Ids{"\\\\PC2\\NDDE$", "\\\\PC3\\NDDE$"}));
    for (const ClientShare& share : connector_.shares) {
        EXPECT_EQ(share.topic, "TELVC$");
        EXPECT_EQ(share.item, "Call");
        EXPECT_TRUE(share.mayStartService);
    }
    using namespace std::string_literals;
    EXPECT_EQ(connector_.payloads[0],
              "Hans Muster\r\n(0711) 123456\r\nStuttgart\r\nBüro (4711)\r\n8.12.2026  14:35\r\n"
              "Telefongespräch oder Analog\r\nTelvor - Hans Muster für Büro um 14:35 Uhr\r\n\0"s);
    EXPECT_EQ(connector_.payloads[1], connector_.payloads[0]);
}

TEST_F(NetworkClientsTest, AnUnreachableClientIsSkippedAndStaysUntilItExpires) {
    clients_.RegisterPokeData("\\\\GONE\\");
    clients_.RegisterPokeData("\\\\PC2\\");
    connector_.unreachable = {"\\\\GONE\\NDDE$"};
    EXPECT_EQ(clients_.ForwardCall(kCall, connector_), 1u);
    EXPECT_EQ(connector_.Services(), (Ids{"\\\\GONE\\NDDE$", "\\\\PC2\\NDDE$"}));
    EXPECT_EQ(Registered(), (Ids{"\\\\GONE\\", "\\\\PC2\\"}));
}

TEST_F(NetworkClientsTest, SwitchedOffNothingIsRegisteredExpiredOrForwarded) {
    clients_.RegisterPokeData("\\\\PC2\\");
    enabled_ = false;
    clients_.RegisterPokeData("\\\\PC3\\");
    EXPECT_EQ(Registered(), (Ids{"\\\\PC2\\"}));
    clock_.now += 10min;
    clients_.NDDETimerTimer();
    EXPECT_EQ(Registered(), (Ids{"\\\\PC2\\"})) << "the timer does nothing";
    EXPECT_EQ(clients_.ForwardCall(kCall, connector_), 0u);
    EXPECT_TRUE(connector_.shares.empty());
}

TEST_F(NetworkClientsTest, PokesAndTicksDuringAForwardingRunTouchOnlyLaterCalls) {
    clients_.RegisterPokeData("\\\\PC1\\");
    clients_.RegisterPokeData("\\\\PC2\\");
    clients_.RegisterPokeData("\\\\PC3\\");
    clock_.now += 3min;
    clients_.RegisterPokeData("\\\\PC3\\");
    // While PC1 is being poked, PC4 registers and the tick drops PC1 and PC2.
    connector_.whilePoking = [this] {
        connector_.whilePoking = nullptr;
        clients_.RegisterPokeData("\\\\PC4\\");
        clients_.NDDETimerTimer();
    };
    clients_.ForwardCall(kCall, connector_);
    EXPECT_EQ(connector_.Services(), (Ids{"\\\\PC1\\NDDE$", "\\\\PC2\\NDDE$", "\\\\PC3\\NDDE$"}));
    EXPECT_EQ(Registered(), (Ids{"\\\\PC3\\", "\\\\PC4\\"}));

    // Switched off in the dialog while a client is poked: the run ends there.
    connector_.shares.clear();
    connector_.whilePoking = [this] { enabled_ = false; };
    clients_.ForwardCall(kCall, connector_);
    EXPECT_EQ(connector_.Services(), (Ids{"\\\\PC3\\NDDE$"}));
}

TEST(NetDdeNames, ServiceOfTheProgramAndOfAClient) {
    EXPECT_EQ(ServerServiceName("C:\\Programme\\Telvor\\Telvor.exe"), "Telvor");
    EXPECT_EQ(ServerServiceName("Z:/tmp/case/Telvor.EXE"), "Telvor");
    EXPECT_EQ(ServerServiceName("C:\\a.b\\Telvor 2.exe"), "Telvor 2");
    EXPECT_EQ(ServerServiceName("Telvor"), "Telvor");
    EXPECT_EQ(ClientServiceName("\\\\PC2\\"), "\\\\PC2\\NDDE$");
}

TEST(NetDdeNames, OnlyAPlainMachinePathMayStartAProgram) {
    EXPECT_TRUE(IsMachinePath("\\\\PC2\\"));
    EXPECT_TRUE(IsMachinePath("\\\\büro-pc_1\\"));
    EXPECT_FALSE(IsMachinePath("\\\\PC2"));
    EXPECT_FALSE(IsMachinePath("\\\\\\"));
    EXPECT_FALSE(IsMachinePath("PC2\\"));
    EXPECT_FALSE(IsMachinePath("\\\\evil\\share\\run.exe "));
    EXPECT_FALSE(IsMachinePath("C:\\Windows\\calc.exe "));
    EXPECT_FALSE(IsMachinePath("\\\\PC 2\\"));
    EXPECT_FALSE(IsMachinePath("\\\\\"PC2\"\\"));
    EXPECT_FALSE(IsMachinePath("\\\\" + std::string(16, 'A') + "\\"));
    EXPECT_TRUE(IsMachinePath("\\\\" + std::string(15, 'A') + "\\"));
    EXPECT_FALSE(IsMachinePath("\\\\..\\"));
}

}  // namespace
}  // namespace telvor
