// Address texts and the ranges that decide who may connect.
#include "ncid/AddressRules.h"

#include <gtest/gtest.h>

namespace telvor {
namespace {

NetAddress Addr(std::string_view text) {
    auto a = ParseNetAddress(text);
    EXPECT_TRUE(a) << text;
    return a.value_or(NetAddress{});
}

TEST(AddressRules, AddressForms) {
    EXPECT_EQ(FormatNetAddress(Addr("192.168.001.2")), "192.168.1.2");
    EXPECT_EQ(FormatNetAddress(Addr("::")), "0:0:0:0:0:0:0:0");
    EXPECT_EQ(FormatNetAddress(Addr("FE80::1:2")), "fe80:0:0:0:0:0:1:2");
    EXPECT_EQ(FormatNetAddress(Addr("1:2:3:4:5:6:7:8")), "1:2:3:4:5:6:7:8");
    EXPECT_EQ(FormatNetAddress(Addr("::ffff:10.0.0.1")), "0:0:0:0:0:ffff:a00:1");
    for (std::string_view bad :
         {"", "1.2.3", "1.2.3.4.5", "256.1.1.1", "1..2.3", "host", "1:2:3:4:5:6:7",
          ":::", "1::2::3", "1:2:3:4:5:6:7:8::", "1::2:3:4:5:6:7:8", "fe80::1%3",
          "12345::", "1.2.3.4::", ":1::", "1::/8"})
        EXPECT_FALSE(ParseNetAddress(bad)) << bad;
}

TEST(AddressRules, DefaultLetsInTheLocalNetworkOnly) {
    const AddressRules rules = AddressRules::Default();
    for (std::string_view in :
         {"127.0.0.1", "127.8.9.10", "10.1.2.3", "172.16.0.1", "172.31.255.255", "192.168.178.20",
          "169.254.1.1", "::1", "fe80::1", "febf::1", "fd12:3456::1", "::ffff:192.168.1.5"})
        EXPECT_TRUE(rules.Allows(Addr(in))) << in;
    for (std::string_view out : {"8.8.8.8", "172.32.0.1", "172.15.255.255", "192.169.0.1", "::2",
                                 "fec0::1", "2001:db8::1", "::ffff:8.8.8.8", "0.0.0.0"})
        EXPECT_FALSE(rules.Allows(Addr(out))) << out;
}

TEST(AddressRules, ListText) {
    auto rules = AddressRules::Parse(" 192.168.1.0/24;10.0.0.7\t2001:db8::/32 ,");
    ASSERT_TRUE(rules);
    EXPECT_EQ(rules->Ranges().size(), 3u);
    EXPECT_TRUE(rules->Allows(Addr("192.168.1.99")));
    EXPECT_FALSE(rules->Allows(Addr("192.168.2.1")));
    EXPECT_TRUE(rules->Allows(Addr("10.0.0.7")));
    EXPECT_FALSE(rules->Allows(Addr("10.0.0.8")));
    EXPECT_TRUE(rules->Allows(Addr("2001:db8:ffff::1")));
    EXPECT_TRUE(AddressRules::Parse("0.0.0.0/0, ::/0")->Allows(Addr("203.0.113.9")));
    for (std::string_view bad : {"", " , ", "192.168.1.0/33", "::/129", "10.0.0.0/", "10.0.0.0/x",
                                 "192.168.1.0/24, somewhere"})
        EXPECT_FALSE(AddressRules::Parse(bad)) << bad;
}

}  // namespace
}  // namespace telvor
