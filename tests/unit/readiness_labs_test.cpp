// The readiness checks on the bundled labs: the demo pair passes, each rehearsal lab shows the FAIL it rehearses.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/text_encoding.h"
#include "nodes/cnode.h"
#include "platform/lab/lab.h"
#include "support/recording_view.h"
#include "validation/readiness_box.h"
#include "validation/readiness_checks.h"

TEST(ReadinessLabs, EachLabGivesTheFindingsItsReadmeShows) {
  struct Case {
    const char* lab;
    std::vector<std::string> failAndWarnLines;
  };
  const Case cases[] = {
      {"demo", {}},
      {"crossed-heartbeats",
       {"[FAIL] R07 HB1/HB2: HB1 and HB2 are crossed: HB1 of node-a (192.168.101.11/24) is on the network of HB2 of "
        "node-b (192.168.101.12/24), and HB2 of node-a (192.168.102.11/24) on that of HB1 of node-b "
        "(192.168.102.12/24)"}},
      {"duplicate-clan-address",
       {"[FAIL] R05 CLAN: 10.1.1.11 is used twice: by the CLAN address of node-a and the CLAN address of node-b"}},
      // The connection named "Clan": the finding points at it.
      {"clan-missing",
       {"[FAIL] R01 CLAN: CLAN of node-b has no address and no mask: no connection is named CLAN, but one is named "
        "\"Clan\" (names must match exactly, letter case and blanks included)"}},
      {"heartbeat-subnets",
       {"[FAIL] R02 HB1: HB1 of node-a (192.168.101.11/24) and HB1 of node-b (192.168.110.12/24) are on different "
        "networks (192.168.101.0 and 192.168.110.0)"}},
  };
  // The entries the rehearsal labs' defaults file holds.
  Entries entries;
  entries.ManagedHostName = L"ha-managed";
  entries.ManagedClanIp = L"10.1.1.5";
  entries.ManagedElanIp = L"10.2.2.5";
  entries.Node1HostName = L"node-a";
  entries.Node2HostName = L"node-b";
  entries.AutoStartDomain = L"ha1";
  entries.ClanTestIp = L"10.1.1.1";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lab);
    std::string error;
    auto lab = Lab::Load(std::filesystem::path(DUPLEX_LAB_DIR) / c.lab, &error);
    ASSERT_NE(lab, nullptr) << error;
    RecordingLog log;
    RecordingOwnerlessBox ownerlessBox;
    Platform platform = lab->MakePlatform();
    cNode node1(platform, log, ownerlessBox);
    cNode node2(platform, log, ownerlessBox);
    node1.HostName = entries.Node1HostName;
    node2.HostName = entries.Node2HostName;
    node1.AutoStartDomain = node2.AutoStartDomain = entries.AutoStartDomain;
    ASSERT_EQ(node1.GetNodeInfo(), status::Success);
    ASSERT_EQ(node2.GetNodeInfo(), status::Success);

    std::vector<std::string> lines;
    for (const Finding& finding : RunReadinessChecks(entries, node1, node2)) {
      if (finding.severity != Severity::Info) lines.push_back(Utf8FromWide(ReadinessFindingLine(finding)));
    }
    EXPECT_EQ(lines, c.failAndWarnLines);
  }
}
