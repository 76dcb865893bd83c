#include "capi/ServiceGroup.h"

#include <gtest/gtest.h>

#include "capi/WaitPriority.h"
#include "base/StringTable.h"

namespace telvor {
namespace {

TEST(ServiceGroup, EveryCipValueHasItsClassFlagAndText) {
    struct Row {
        std::uint16_t cip;
        ServiceGroup group;
        const char* flag;
        unsigned textId;
    };
    const Row rows[] = {
        {0, ServiceGroup::Audio, "Audio", 20001},  {1, ServiceGroup::Audio, "Audio", 20002},
        {4, ServiceGroup::Audio, "Audio", 20002},  {5, ServiceGroup::Audio, "Audio", 20002},
        {16, ServiceGroup::Audio, "Audio", 20002}, {26, ServiceGroup::Audio, "Audio", 20002},
        {2, ServiceGroup::Data, "Data", 20003},    {3, ServiceGroup::Data, "Data", 20003},
        {7, ServiceGroup::Data, "Data", 20003},    {8, ServiceGroup::Data, "Data", 20003},
        {9, ServiceGroup::Data, "Data", 20003},    {17, ServiceGroup::Fax23, "Fax23", 20004},
        {18, ServiceGroup::Fax4, "Fax4", 20005},   {6, ServiceGroup::Video, "Video", 20006},
        {27, ServiceGroup::Video, "Video", 20006}, {28, ServiceGroup::Video, "Video", 20006},
        {10, ServiceGroup::Else, "Else", 20007},   {15, ServiceGroup::Else, "Else", 20007},
        {19, ServiceGroup::Else, "Else", 20007},   {25, ServiceGroup::Else, "Else", 20007},
        {29, ServiceGroup::Else, "Else", 20007},   {0xFFFF, ServiceGroup::Else, "Else", 20007},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ServiceGroupOf(row.cip), row.group) << row.cip;
        EXPECT_EQ(ServiceFlagName(ServiceGroupOf(row.cip)), row.flag) << row.cip;
        EXPECT_EQ(ServiceTextId(row.cip), row.textId) << row.cip;
        EXPECT_EQ(ServiceText(row.cip), LoadStr(row.textId)) << row.cip;
    }
}

TEST(WaitPriority, IndexesMapToThreadPrioritiesAndOthersFallBackToLowest) {
    const int expected[] = {-15, -2, -1, 0, 1, 2, 15};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(WaitPriorityValue(i), expected[i]) << i;
    for (int i : {-1, 7, 100, -2147483647 - 1}) EXPECT_EQ(WaitPriorityValue(i), -2) << i;
}

}  // namespace
}  // namespace telvor
