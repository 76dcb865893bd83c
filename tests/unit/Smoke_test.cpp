#include <gtest/gtest.h>
#include "ui/StringTable.h"
TEST(Smoke, Builds) { EXPECT_EQ(telvor::LoadStr(50), ""); }
