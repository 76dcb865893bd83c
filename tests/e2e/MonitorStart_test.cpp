// The monitor against the line simulator: it binds the library, registers and listens.
#include <gtest/gtest.h>

#include "support/MonitorCase.h"

using namespace telvor::e2e;

TEST(MonitorStart, RegistersAndListensOnControllerOneForEveryService) {
    MonitorCase monitor;
    ASSERT_TRUE(monitor.StartListening());
    const auto listen = monitor.WaitForPut(capisim::kListen, capisim::kReq);
    ASSERT_TRUE(listen);
    const capisim::Bytes expected = {26,   0,    1,    0,    0x05, 0x80, 0, 0,  // header, appl 1
                                     1,    0,    0,    0,                       // controller 1
                                     0,    0,    0,    0,                       // no info
                                     0xFF, 0x03, 0xFF, 0x1F, 0,    0,    0, 0,  // CIP masks
                                     0,    0};                                  // empty structures
    EXPECT_EQ(*listen, expected);
    EXPECT_TRUE(monitor.Stop());
    EXPECT_EQ(monitor.Process().ExitCode(), 0u);
}
