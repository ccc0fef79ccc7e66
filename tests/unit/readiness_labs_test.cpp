// The readiness checks on the bundled labs: the demo pair passes, each rehearsal lab shows the finding it rehearses.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/exit_codes.h"
#include "common/text_encoding.h"
#include "nodes/cnode.h"
#include "platform/lab/lab.h"
#include "support/cli_run.h"
#include "support/readiness_pair.h"
#include "support/recording_view.h"
#include "support/temp_lab.h"
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
  Entries entries = DemoEntries();
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

// check on a copy of each rehearsal lab, live link probes included: the labs of registry faults keep
// their findings alone, each lab of wire faults shows its own, and the exit code follows.
TEST(ReadinessLabs, CheckOnEachRehearsalLabPrintsItsFindingsAndExitCode) {
  struct Case {
    const char* lab;
    int exitCode;
    std::vector<std::string> failAndWarnLines;
  };
  const Case cases[] = {
      {"crossed-heartbeats", exitcode::Fail, {"[FAIL] R07 HB1/HB2: HB1 and HB2 are crossed: HB1 of node-a"}},
      {"duplicate-clan-address", exitcode::Fail, {"[FAIL] R05 CLAN: 10.1.1.11 is used twice"}},
      {"heartbeat-subnets", exitcode::Fail, {"[FAIL] R02 HB1: HB1 of node-a (192.168.101.11/24) and HB1 of node-b"}},
      {"unplugged-heartbeat",
       exitcode::Fail,
       {"[FAIL] R12 HB2: The HB2 adapter of node-a is disconnected: no cable, or nothing live at its other end"}},
      {"swapped-heartbeat-cables",
       exitcode::Fail,
       {"[FAIL] R13 HB1: HB1 of node-b (192.168.101.12) answered none of 3 echoes from HB1 of node-a (192.168.101.11)",
        "[FAIL] R13 HB2: HB2 of node-b (192.168.102.12) answered none of 3 echoes from HB2 of node-a "
        "(192.168.102.11)"}},
      {"echo-blocked",
       exitcode::Warn,
       {"[WARN] R18 CLAN/ELAN/HB1/HB2/MIRROR: node-b answered no echo on any link although its registry was just "
        "read over the network: its firewall most likely drops echo requests, so the cables could not be tested"}},
      {"managed-address-taken",
       exitcode::Warn,
       {"[WARN] R15 CLAN: The managed CLAN IP 10.1.1.5 already answers echoes: that is right when upgrading this very "
        "cluster, whose managed address is live; otherwise another machine holds it"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lab);
    TempLab copy;
    std::filesystem::copy(std::filesystem::path(DUPLEX_LAB_DIR) / c.lab, copy.Folder(),
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
    std::unique_ptr<Lab> lab = copy.Load();
    ASSERT_NE(lab, nullptr);
    const CliRun run = RunCli(*lab, {L"check"});
    EXPECT_EQ(run.exitCode, c.exitCode);
    std::vector<std::string> lines;
    for (const std::string& line : run.out) {
      if (line.rfind("[FAIL]", 0) == 0 || line.rfind("[WARN]", 0) == 0) lines.push_back(line);
    }
    ASSERT_EQ(lines.size(), c.failAndWarnLines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i].rfind(c.failAndWarnLines[i], 0), 0u) << lines[i];
  }
}
