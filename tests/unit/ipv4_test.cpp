// The strict address arithmetic under the readiness checks: what is usable, masks, overlaps.
#include <gtest/gtest.h>

#include <optional>

#include "common/text_encoding.h"
#include "validation/ipv4.h"

TEST(ParseIpv4, AcceptsFourDecimalNumbersOnly) {
  struct Case {
    const wchar_t* text;
    std::optional<Ipv4> expected;
  };
  const Case cases[] = {
      {L"10.1.1.11", 0x0A01010B},       {L"0.0.0.0", 0},
      {L"255.255.255.255", 0xFFFFFFFF}, {L"192.168.101.0", 0xC0A86500},
      {L"256.1.1.1", std::nullopt},     {L"1.2.3", std::nullopt},
      {L"1.2.3.4.5", std::nullopt},     {L"1..3.4", std::nullopt},
      {L"010.1.1.1", std::nullopt},  // octal to the Windows resolver
      {L"1.2.3.4 ", std::nullopt},      {L" 1.2.3.4", std::nullopt},
      {L"+1.2.3.4", std::nullopt},      {L"1.2.3.0004", std::nullopt},
      {L"1x.2.3.4", std::nullopt},      {L"", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8FromWide(c.text));
    EXPECT_EQ(ParseIpv4(c.text), c.expected);
    if (c.expected) {
      EXPECT_EQ(Ipv4Text(*c.expected), c.text) << "a usable address has one spelling";
    }
  }
}

TEST(ParseMask, TakesContiguousOnesThenZeros) {
  struct Case {
    const wchar_t* text;
    int prefix;  // -1: not a usable mask
  };
  const Case cases[] = {
      {L"255.255.255.0", 24},   {L"255.255.254.0", 23}, {L"255.255.255.128", 25}, {L"255.255.255.254", 31},
      {L"255.255.255.255", 32}, {L"0.0.0.0", 0},        {L"128.0.0.0", 1},        {L"255.0.255.0", -1},
      {L"255.255.255.1", -1},   {L"0.255.255.255", -1}, {L"255.255.255", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8FromWide(c.text));
    const auto mask = ParseMask(c.text);
    ASSERT_EQ(mask.has_value(), c.prefix >= 0);
    if (mask) {
      EXPECT_EQ(PrefixLength(*mask), c.prefix);
    }
  }
}

TEST(Ipv4Subnet, OverlapIsDecidedUnderTheShorterMask) {
  struct Case {
    const char* name;
    const wchar_t* address1;
    const wchar_t* mask1;
    const wchar_t* address2;
    const wchar_t* mask2;
    bool overlap;
    const wchar_t* common;  // the shared network, when they overlap
  };
  const Case cases[] = {
      {"same /24", L"10.1.1.11", L"255.255.255.0", L"10.1.1.200", L"255.255.255.0", true, L"10.1.1.0/24"},
      {"adjacent /24s", L"10.1.1.11", L"255.255.255.0", L"10.1.2.11", L"255.255.255.0", false, nullptr},
      {"adjacent /25s", L"10.1.1.11", L"255.255.255.128", L"10.1.1.200", L"255.255.255.128", false, nullptr},
      {"/23 holds the next /24", L"10.1.0.11", L"255.255.254.0", L"10.1.1.11", L"255.255.255.0", true, L"10.1.0.0/23"},
      {"/24 beside a /23", L"10.1.2.11", L"255.255.254.0", L"10.1.1.11", L"255.255.255.0", false, nullptr},
      {"/32 inside a /24", L"10.1.1.99", L"255.255.255.255", L"10.1.1.11", L"255.255.255.0", true, L"10.1.1.0/24"},
      {"two /32s", L"10.1.1.1", L"255.255.255.255", L"10.1.1.2", L"255.255.255.255", false, nullptr},
      {"a /31 pair", L"10.1.1.0", L"255.255.255.254", L"10.1.1.1", L"255.255.255.254", true, L"10.1.1.0/31"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto a = ParseSubnet(c.address1, c.mask1);
    const auto b = ParseSubnet(c.address2, c.mask2);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(Overlap(*a, *b), c.overlap);
    EXPECT_EQ(Overlap(*b, *a), c.overlap);
    if (c.overlap) {
      EXPECT_EQ(NetworkText(CommonNetwork(*a, *b)), c.common);
    }
  }
}

TEST(Ipv4Subnet, OnlyMasksUpToSlash30HaveNetworkAndBroadcastAddresses) {
  struct Case {
    const wchar_t* mask;
    bool hasThem;
    Ipv4 broadcast;  // of 10.1.1.9 under the mask
  };
  const Case cases[] = {{L"255.255.255.0", true, 0x0A0101FF},
                        {L"255.255.255.252", true, 0x0A01010B},
                        {L"255.255.255.254", false, 0x0A010109},
                        {L"255.255.255.255", false, 0x0A010109}};
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8FromWide(c.mask));
    const auto subnet = ParseSubnet(L"10.1.1.9", c.mask);
    ASSERT_TRUE(subnet);
    EXPECT_EQ(subnet->HasNetworkAndBroadcast(), c.hasThem);
    EXPECT_EQ(subnet->Broadcast(), c.broadcast);
  }
}
