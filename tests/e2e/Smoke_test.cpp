#include <gtest/gtest.h>
#include <windows.h>
TEST(E2eSmoke, RunsUnderWine) { EXPECT_NE(GetCurrentProcessId(), 0u); }
