// The cluster readiness checks, one table per check: a healthy pair broken one way per row.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "common/text_encoding.h"
#include "support/finding_key.h"
#include "support/readiness_pair.h"
#include "validation/readiness_checks.h"

namespace {

using Change = std::function<void(ReadinessPair&)>;

struct Row {
  const char* name;
  Change change;
  // What each finding of the checks under test is about: "FAIL R02 HB1 @1,2" (severity, id,
  // links, nodes), in the order the findings come.
  std::vector<std::string> expected;
  // Texts their messages must hold between them (the values they name).
  std::vector<std::wstring> mentions = {};
};

std::vector<Finding> FindingsOf(const ReadinessPair& pair) {
  return RunReadinessChecks(pair.entries, pair.node1, pair.node2);
}

// Runs every row on a fresh healthy pair and compares the findings whose id is in `ids`.
void ExpectRows(const std::set<std::wstring>& ids, const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ReadinessPair pair = HealthyPair();
    row.change(pair);
    std::vector<std::string> keys;
    std::wstring messages;
    for (const Finding& finding : FindingsOf(pair)) {
      // Every finding of every check is one line in the box and the log.
      EXPECT_EQ(finding.message.find_first_of(L"\r\n"), std::wstring::npos) << Utf8FromWide(finding.message);
      EXPECT_FALSE(finding.remedy.empty());
      EXPECT_EQ(finding.remedy.find_first_of(L"\r\n"), std::wstring::npos);
      if (ids.count(finding.id) == 0) continue;
      keys.push_back(FindingKey(finding));
      messages += finding.message + L"\n";
    }
    EXPECT_EQ(keys, row.expected);
    for (const std::wstring& mention : row.mentions) {
      EXPECT_NE(messages.find(mention), std::wstring::npos) << Utf8FromWide(mention) << " not in\n"
                                                            << Utf8FromWide(messages);
    }
  }
}

constexpr wchar_t k24[] = L"255.255.255.0";
constexpr wchar_t k25[] = L"255.255.255.128";

}  // namespace

TEST(ReadinessChecks, HealthyPairHasNoFinding) {
  const ReadinessPair pair = HealthyPair();
  std::vector<std::string> keys;
  for (const Finding& finding : FindingsOf(pair))
    keys.push_back(FindingKey(finding) + " " + Utf8FromWide(finding.message));
  EXPECT_EQ(keys, std::vector<std::string>{});
}

TEST(ReadinessChecks, R01_LinkIncomplete) {
  ExpectRows({L"R01"},
             {
                 {"node-b has no CLAN",
                  [](auto& p) { p.node2.Clan = cNIC{}; },
                  {"FAIL R01 CLAN @2"},
                  {L"CLAN of node-b has no address and no mask"}},
                 {"a mask missing",
                  [](auto& p) { p.node1.Hb2.SubnetMask.clear(); },
                  {"FAIL R01 HB2 @1"},
                  {L"HB2 of node-a has no mask (address 192.168.102.11)"}},
                 {"an address missing", [](auto& p) { SetLink(p.node1.Mirror, L"", k24); }, {"FAIL R01 MIRROR @1"}},
                 {"0.0.0.0 is there, if not usable", [](auto& p) { SetLink(p.node2.Hb1, L"0.0.0.0", L"0.0.0.0"); }, {}},
                 {"a connection named as CLAN but for letter case",
                  [](auto& p) {
                    p.node2.Clan = cNIC{};
                    p.node2.OtherConnectionNames = {L"Local Area Connection", L"Clan"};
                  },
                  {"FAIL R01 CLAN @2"},
                  {L"CLAN of node-b has no address and no mask: no connection is named CLAN, but one is named "
                   L"\"Clan\""}},
                 {"a connection named as HB1 but for a blank",
                  [](auto& p) {
                    p.node1.Hb1 = cNIC{};
                    p.node1.OtherConnectionNames = {L"HB 1"};
                  },
                  {"FAIL R01 HB1 @1"},
                  {L"one is named \"HB 1\""}},
             });
}

TEST(ReadinessChecks, R02_R07_LinkNetworksAndCrossedLinks) {
  ExpectRows({L"R02", L"R07"},
             {
                 {"HB1 of node-b on another /24",
                  [](auto& p) { SetLink(p.node2.Hb1, L"192.168.110.12", k24); },
                  {"FAIL R02 HB1 @1,2"},
                  {L"HB1 of node-a (192.168.101.11/24) and HB1 of node-b (192.168.110.12/24) are on different networks "
                   L"(192.168.101.0 and 192.168.110.0)"}},
                 {"the same network under different masks", [](auto& p) { p.node2.Hb1.SubnetMask = k25; }, {}},
                 {"a /25 that leaves the other node out",
                  [](auto& p) { SetLink(p.node2.Hb1, L"192.168.101.200", k25); },
                  {"FAIL R02 HB1 @1,2"}},
                 {"masks differing by one bit",
                  [](auto& p) { p.node1.Hb1.SubnetMask = L"255.255.254.0"; },
                  {"FAIL R02 HB1 @1,2"},
                  {L"192.168.100.0 and 192.168.101.0"}},
                 {"the two ends of a /31",
                  [](auto& p) {
                    SetLink(p.node1.Hb1, L"10.9.9.0", L"255.255.255.254");
                    SetLink(p.node2.Hb1, L"10.9.9.1", L"255.255.255.254");
                  },
                  {}},
                 {"two /32s",
                  [](auto& p) {
                    SetLink(p.node1.Hb1, L"10.9.9.1", L"255.255.255.255");
                    SetLink(p.node2.Hb1, L"10.9.9.2", L"255.255.255.255");
                  },
                  {"FAIL R02 HB1 @1,2"}},
                 {"an unusable mask is not compared", [](auto& p) { p.node2.Hb1.SubnetMask = L"255.255.0.255"; }, {}},
                 {"HB1 and HB2 crossed",
                  [](auto& p) {
                    SetLink(p.node2.Hb1, L"192.168.102.12", k24);
                    SetLink(p.node2.Hb2, L"192.168.101.12", k24);
                  },
                  {"FAIL R07 HB1/HB2 @1,2"},
                  {L"HB1 and HB2 are crossed: HB1 of node-a (192.168.101.11/24) is on the network of HB2 of node-b "
                   L"(192.168.101.12/24), and HB2 of node-a (192.168.102.11/24) on that of HB1 of node-b "
                   L"(192.168.102.12/24)"}},
                 {"HB2 and MIRROR crossed, HB1 apart",
                  [](auto& p) {
                    SetLink(p.node2.Hb1, L"192.168.110.12", k24);
                    SetLink(p.node2.Hb2, L"192.168.103.12", k24);
                    SetLink(p.node2.Mirror, L"192.168.102.12", k24);
                  },
                  {"FAIL R02 HB1 @1,2", "FAIL R07 HB2/MIRROR @1,2"}},
                 {"two links of one node on one network are not crossed",
                  [](auto& p) { SetLink(p.node1.Hb2, L"192.168.101.50", k24); },
                  {"FAIL R02 HB2 @1,2"}},
                 {"two links on one network on both nodes overlap, and are not crossed",
                  [](auto& p) {
                    SetLink(p.node1.Hb2, L"192.168.101.50", k24);
                    SetLink(p.node2.Hb2, L"192.168.101.51", k24);
                  },
                  {}},
             });
}

TEST(ReadinessChecks, R03_MaskMismatch) {
  ExpectRows(
      {L"R03"},
      {
          {"/24 and /25",
           [](auto& p) { p.node2.Hb1.SubnetMask = k25; },
           {"WARN R03 HB1 @1,2"},
           {L"The HB1 masks differ: 255.255.255.0 on node-a, 255.255.255.128 on node-b"}},
          {"one bit apart", [](auto& p) { p.node1.Mirror.SubnetMask = L"255.255.254.0"; }, {"WARN R03 MIRROR @1,2"}},
          {"a non-contiguous mask still differs",
           [](auto& p) { p.node2.Elan.SubnetMask = L"255.255.0.255"; },
           {"WARN R03 ELAN @1,2"}},
          {"not four numbers: R09's", [](auto& p) { p.node2.Elan.SubnetMask = L"255.255.255"; }, {}},
      });
}

TEST(ReadinessChecks, R04_LinkOverlap) {
  ExpectRows({L"R04"}, {
                           {"HB1 inside the CLAN network",
                            [](auto& p) { SetLink(p.node1.Hb1, L"10.1.1.50", k24); },
                            {"FAIL R04 CLAN/HB1 @1"},
                            {L"On node-a, CLAN (10.1.1.11/24) and HB1 (10.1.1.50/24) overlap in 10.1.1.0/24"}},
                           {"MIRROR over the ELAN under a /16",
                            [](auto& p) { SetLink(p.node2.Mirror, L"10.2.0.12", L"255.255.0.0"); },
                            {"FAIL R04 ELAN/MIRROR @2"},
                            {L"overlap in 10.2.0.0/16"}},
                           {"CLAN and ELAN under a /8",
                            [](auto& p) { p.node1.Clan.SubnetMask = L"255.0.0.0"; },
                            {"WARN R04 CLAN/ELAN @1"}},
                           {"adjacent /25 heartbeats",
                            [](auto& p) {
                              SetLink(p.node1.Hb1, L"192.168.101.11", k25);
                              SetLink(p.node1.Hb2, L"192.168.101.200", k25);
                            },
                            {}},
                           {"overlapping /25 heartbeats",
                            [](auto& p) {
                              SetLink(p.node1.Hb1, L"192.168.101.11", k25);
                              SetLink(p.node1.Hb2, L"192.168.101.100", k25);
                            },
                            {"WARN R04 HB1/HB2 @1"}},
                           {"a /23 heartbeat over MIRROR",
                            [](auto& p) { p.node1.Hb2.SubnetMask = L"255.255.254.0"; },
                            {"WARN R04 HB2/MIRROR @1"}},
                           {"a /32 inside another link's /24",
                            [](auto& p) { SetLink(p.node2.Hb1, L"192.168.102.99", L"255.255.255.255"); },
                            {"WARN R04 HB1/HB2 @2"}},
                       });
}

TEST(ReadinessChecks, R05_DuplicateAddress) {
  ExpectRows(
      {L"R05"},
      {
          {"the same CLAN address on both nodes",
           [](auto& p) { SetLink(p.node2.Clan, L"10.1.1.11", k24); },
           {"FAIL R05 CLAN @1,2"},
           {L"10.1.1.11 is used twice: by the CLAN address of node-a and the CLAN address of node-b"}},
          {"the managed CLAN address on node-b",
           [](auto& p) { p.entries.ManagedClanIp = L"10.1.1.12"; },
           {"FAIL R05 CLAN @2"}},
          {"the switch on node-a's ELAN address",
           [](auto& p) { p.node1.SwitchIpAddress = p.node2.SwitchIpAddress = L"10.2.2.11"; },
           {"FAIL R05 ELAN @1,2"},
           {L"by the ELAN address of node-a and the switch address"}},
          {"three holders",
           [](auto& p) {
             p.entries.ManagedElanIp = L"10.1.1.5";
             SetLink(p.node2.Clan, L"10.1.1.5", k24);
           },
           {"FAIL R05 CLAN/ELAN @2"},
           {L"10.1.1.5 is used 3 times: by the CLAN address of node-b, the managed CLAN address and the managed ELAN "
            L"address"}},
          {"a gateway on the managed address",
           [](auto& p) { p.node2.Clan.DefaultGateway = L"10.1.1.5"; },
           {"FAIL R05 CLAN @2"},
           {L"by the managed CLAN address and the CLAN gateway of node-b"}},
          {"0.0.0.0 twice is no address twice",
           [](auto& p) {
             SetLink(p.node1.Hb1, L"0.0.0.0", L"0.0.0.0");
             SetLink(p.node1.Hb2, L"0.0.0.0", L"0.0.0.0");
           },
           {}},
      });
}

TEST(ReadinessChecks, R06_ManagedAddressPlacement) {
  ExpectRows({L"R06"},
             {
                 {"managed CLAN outside",
                  [](auto& p) { p.entries.ManagedClanIp = L"10.9.1.5"; },
                  {"WARN R06 CLAN @1", "WARN R06 CLAN @2"},
                  {L"The managed CLAN address (10.9.1.5) is outside the CLAN network of node-a (10.1.1.0/24)"}},
                 {"managed CLAN on the network address",
                  [](auto& p) { p.entries.ManagedClanIp = L"10.1.1.0"; },
                  {"WARN R06 CLAN @1", "WARN R06 CLAN @2"},
                  {L"is the network address of the CLAN network of node-b"}},
                 {"managed ELAN on the broadcast address",
                  [](auto& p) { p.entries.ManagedElanIp = L"10.2.2.255"; },
                  {"WARN R06 ELAN @1", "WARN R06 ELAN @2"},
                  {L"(10.2.2.255) is the broadcast address"}},
                 {"the first and last hosts",
                  [](auto& p) {
                    p.entries.ManagedClanIp = L"10.1.1.254";
                    p.entries.ManagedElanIp = L"10.2.2.1";
                  },
                  {}},
                 {"a /31 has no network address",
                  [](auto& p) {
                    p.node1.Clan.SubnetMask = L"255.255.255.254";
                    p.entries.ManagedClanIp = L"10.1.1.10";
                  },
                  {}},
                 {"a /30 has one",
                  [](auto& p) {
                    p.node1.Clan.SubnetMask = L"255.255.255.252";
                    p.entries.ManagedClanIp = L"10.1.1.8";
                  },
                  {"WARN R06 CLAN @1"}},
             });
}

TEST(ReadinessChecks, R08_Gateway) {
  const auto both = [](const wchar_t* gateway) {
    return [gateway](ReadinessPair& p) { p.node1.Clan.DefaultGateway = p.node2.Clan.DefaultGateway = gateway; };
  };
  ExpectRows({L"R08"},
             {
                 {"no gateway on node-b",
                  [](auto& p) { p.node2.Clan.DefaultGateway.clear(); },
                  {"INFO R08 CLAN @2"},
                  {L"CLAN of node-b has no default gateway"}},
                 {"the network address",
                  both(L"10.1.1.0"),
                  {"WARN R08 CLAN @1", "WARN R08 CLAN @2"},
                  {L"The CLAN gateway of node-a (10.1.1.0) is the network address of its CLAN network (10.1.1.0/24)"}},
                 {"the broadcast address",
                  both(L"10.1.1.255"),
                  {"WARN R08 CLAN @1", "WARN R08 CLAN @2"},
                  {L"broadcast address"}},
                 {"the last host", both(L"10.1.1.254"), {}},
                 {"outside",
                  both(L"10.1.2.1"),
                  {"WARN R08 CLAN @1", "WARN R08 CLAN @2"},
                  {L"(10.1.2.1) is outside its CLAN network (10.1.1.0/24)"}},
                 {"its own address",
                  [](auto& p) { p.node1.Clan.DefaultGateway = L"10.1.1.11"; },
                  {"WARN R08 CLAN @1", "WARN R08 CLAN @1,2"},
                  {L"(10.1.1.11) is its own CLAN address"}},
                 {"the gateways differ",
                  [](auto& p) { p.node2.Clan.DefaultGateway = L"10.1.1.254"; },
                  {"WARN R08 CLAN @1,2"},
                  {L"The CLAN gateways differ: 10.1.1.1 on node-a, 10.1.1.254 on node-b"}},
                 {"the far end of a /31 CLAN",
                  [](auto& p) {
                    p.node1.Clan.SubnetMask = L"255.255.255.254";
                    p.node1.Clan.DefaultGateway = p.node2.Clan.DefaultGateway = L"10.1.1.10";
                  },
                  {}},
                 {"a /32 CLAN has no room for one",
                  [](auto& p) { p.node1.Clan.SubnetMask = L"255.255.255.255"; },
                  {"WARN R08 CLAN @1"}},
                 {"not an address: only the difference here",
                  [](auto& p) { p.node2.Clan.DefaultGateway = L"10.1.1"; },
                  {"WARN R08 CLAN @1,2"}},
             });
}

TEST(ReadinessChecks, R09_AddressForm) {
  ExpectRows(
      {L"R09"},
      {
          {"three numbers",
           [](auto& p) { SetLink(p.node1.Hb1, L"192.168.101", k24); },
           {"WARN R09 HB1 @1"},
           {L"The HB1 address of node-a (192.168.101) is not four decimal numbers 0-255"}},
          {"a leading zero", [](auto& p) { SetLink(p.node2.Elan, L"10.2.2.012", k24); }, {"WARN R09 ELAN @2"}},
          {"a number over 255",
           [](auto& p) { SetLink(p.node1.Mirror, L"192.168.103.256", k24); },
           {"WARN R09 MIRROR @1"}},
          {"a mask not contiguous",
           [](auto& p) { p.node2.Hb2.SubnetMask = L"255.255.0.255"; },
           {"WARN R09 HB2 @2"},
           {L"The HB2 mask of node-b (255.255.0.255) is not contiguous ones then zeros"}},
          {"a mask of three numbers", [](auto& p) { p.node2.Hb2.SubnetMask = L"255.255.255"; }, {"WARN R09 HB2 @2"}},
          {"0.0.0.0",
           [](auto& p) { SetLink(p.node1.Hb2, L"0.0.0.0", L"0.0.0.0"); },
           {"WARN R09 HB2 @1"},
           {L"The HB2 address of node-a is 0.0.0.0"}},
          {"loopback",
           [](auto& p) { SetLink(p.node1.Hb1, L"127.0.0.5", L"255.0.0.0"); },
           {"WARN R09 HB1 @1"},
           {L"loopback"}},
          {"loopback beyond 127.0.x.x",
           [](auto& p) { SetLink(p.node1.Hb1, L"127.1.2.3", L"255.0.0.0"); },
           {"WARN R09 HB1 @1"},
           {L"loopback"}},
          {"link-local",
           [](auto& p) { SetLink(p.node2.Mirror, L"169.254.3.4", L"255.255.0.0"); },
           {"WARN R09 MIRROR @2"},
           {L"link-local"}},
          {"host part all zeros",
           [](auto& p) { SetLink(p.node1.Hb1, L"192.168.101.0", k24); },
           {"WARN R09 HB1 @1"},
           {L"has a host part of all zeros: it is the network address of 192.168.101.0/24"}},
          {"host part all ones",
           [](auto& p) { SetLink(p.node1.Hb1, L"192.168.101.255", k24); },
           {"WARN R09 HB1 @1"},
           {L"all ones"}},
          {"both ends of a /31 are hosts", [](auto& p) { SetLink(p.node1.Hb1, L"10.9.9.0", L"255.255.255.254"); }, {}},
          {"a /30's network address",
           [](auto& p) { SetLink(p.node1.Hb1, L"10.9.9.0", L"255.255.255.252"); },
           {"WARN R09 HB1 @1"}},
          {"a /32 host", [](auto& p) { SetLink(p.node1.Hb1, L"10.9.9.9", L"255.255.255.255"); }, {}},
          {"entries",
           [](auto& p) {
             p.entries.ManagedClanIp = L"10.1.1.5.6";
             p.entries.ClanTestIp = L"1x.2.3.4";
           },
           {"WARN R09 CLAN @-", "WARN R09 CLAN @-"},
           {L"The managed CLAN address (10.1.1.5.6)", L"The CLAN test address (1x.2.3.4)"}},
          {"one bad gateway on both nodes",
           [](auto& p) { p.node1.Clan.DefaultGateway = p.node2.Clan.DefaultGateway = L"10.1.1"; },
           {"WARN R09 CLAN @1,2"},
           {L"The CLAN gateway (10.1.1)"}},
          {"a switch address with a blank",
           [](auto& p) { p.node2.SwitchIpAddress = L"10.2.2.250 "; },
           {"WARN R09 ELAN @2"},
           {L"The switch address of node-b"}},
      });
}

TEST(ReadinessChecks, R10_TestAddress) {
  const auto test = [](const wchar_t* address) {
    return [address](ReadinessPair& p) { p.entries.ClanTestIp = address; };
  };
  ExpectRows({L"R10"},
             {
                 {"the CLAN gateway", test(L"10.1.1.1"), {}},
                 {"outside the CLAN",
                  test(L"10.9.9.9"),
                  {"INFO R10 CLAN @1", "INFO R10 CLAN @2"},
                  {L"The CLAN test address (10.9.9.9) is outside the CLAN network of node-a (10.1.1.0/24)"}},
                 {"another loopback address", test(L"127.0.0.2"), {"INFO R10 CLAN @1", "INFO R10 CLAN @2"}},
                 {"node-a's CLAN address",
                  test(L"10.1.1.11"),
                  {"WARN R10 CLAN @1"},
                  {L"The CLAN test address (10.1.1.11) is the CLAN address of node-a"}},
                 {"the managed ELAN address, outside the CLAN too", test(L"10.2.2.5"), {"WARN R10 CLAN/ELAN @-"}},
                 {"node-b's HB1 address", test(L"192.168.101.12"), {"WARN R10 CLAN/HB1 @2"}},
             });
}

TEST(ReadinessChecks, R11_SeveralAddresses) {
  ExpectRows({L"R11"},
             {
                 {"two on node-a's CLAN",
                  [](auto& p) { p.node1.Clan.IpAddresses.push_back(L"10.1.1.101"); },
                  {"INFO R11 CLAN @1"},
                  {L"CLAN of node-a holds 2 addresses (10.1.1.11, 10.1.1.101); only the first, 10.1.1.11, is used"}},
                 {"three on node-b's MIRROR",
                  [](auto& p) {
                    p.node2.Mirror.IpAddresses = {L"192.168.103.12", L"10.0.0.1", L"10.0.0.2"};
                  },
                  {"INFO R11 MIRROR @2"}},
                 {"only the first kept", [](auto& p) { p.node2.Mirror.IpAddresses.clear(); }, {}},
             });
}

TEST(ReadinessChecks, FindingsComeBySeverityThenIdThenLink) {
  ReadinessPair pair = HealthyPair();
  pair.node1.Clan.IpAddresses.push_back(L"10.1.1.101");  // INFO R11
  pair.node2.Clan.DefaultGateway.clear();                // INFO R08
  pair.node2.Mirror.SubnetMask = k25;                    // WARN R03
  pair.node1.Hb1.SubnetMask = L"255.255.254.0";          // FAIL R02 and WARN R03
  SetLink(pair.node2.Elan, L"10.2.2.11", k24);           // FAIL R05
  pair.node2.Hb2 = cNIC{};                               // FAIL R01
  std::vector<std::string> keys;
  for (const Finding& finding : FindingsOf(pair)) keys.push_back(FindingKey(finding));
  EXPECT_EQ(keys,
            (std::vector<std::string>{"FAIL R01 HB2 @2", "FAIL R02 HB1 @1,2", "FAIL R05 ELAN @1,2", "WARN R03 HB1 @1,2",
                                      "WARN R03 MIRROR @1,2", "INFO R08 CLAN @2", "INFO R11 CLAN @1"}));
}
