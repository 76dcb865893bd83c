#include "base/Version.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>

namespace {

// The text form is what the settings and the package name carry; the resource compiler and
// the build read the numbers: both spellings must name one version.
TEST(Version, TheTextIsMajorPointAndTwoDigitMinor) {
    char expected[16];
    std::snprintf(expected, sizeof expected, "%d.%02d", TELVOR_VERSION_MAJOR, TELVOR_VERSION_MINOR);
    EXPECT_EQ(std::string(TELVOR_VERSION_TEXT), expected);
}

}  // namespace
