// The live link probes' plan and findings, one table per check: a healthy run broken one way per row.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "common/text_encoding.h"
#include "support/finding_key.h"
#include "support/readiness_pair.h"
#include "validation/link_probe_findings.h"
#include "validation/readiness_box.h"

namespace {

using Results = LinkProbeResults;

// The pair of lab/demo with the CLAN test address 10.1.1.1, `change`d.
ReadinessPair ProbedPair(const std::function<void(ReadinessPair&)>& change = {}) {
  ReadinessPair pair = HealthyPair();
  pair.entries.ClanTestIp = L"10.1.1.1";
  if (change) change(pair);
  return pair;
}

// The pair probed from `computer`: every adapter connected, every link, the test address and the
// switch answering three echoes in 0 ms, the managed addresses silent. The findings of such a run: none.
Results HealthyRun(const ReadinessPair& pair = ProbedPair(), const std::wstring& computer = L"NODE-A") {
  Results results;
  results.plan = MakeProbePlan(pair.entries, pair.node1, pair.node2, computer);
  for (const AdapterProbe& adapter : results.plan.adapters) {
    results.adapters.push_back({adapter, AdapterState::Connected, status::Success});
  }
  for (const ProbeTarget& target : results.plan.targets) {
    const bool managed = target.kind == ProbeKind::ManagedClan || target.kind == ProbeKind::ManagedElan;
    TargetResult result;
    result.target = target;
    result.sent = true;
    result.answered = managed ? 0 : kEchoesPerTarget;
    result.roundTripsMs.assign(static_cast<std::size_t>(result.answered), 0);
    if (managed) result.lastError = status::IpReqTimedOut;
    results.targets.push_back(result);
  }
  return results;
}

// What the echoes to `link`'s partner, or to the target of `kind`, got: `answered` of three, `roundTripMs` each.
void Echoes(Results& results, Link link, int answered, std::uint32_t roundTripMs = 0,
            ProbeKind kind = ProbeKind::Link) {
  const auto it = std::find_if(results.targets.begin(), results.targets.end(), [&](const TargetResult& result) {
    return result.target.kind == kind && (kind != ProbeKind::Link || result.target.link == link);
  });
  ASSERT_NE(it, results.targets.end());
  it->answered = answered;
  it->roundTripsMs.assign(static_cast<std::size_t>(answered), roundTripMs);
}

// Here's adapter on `link` reports no link: its echoes are not sent.
void Unplug(Results& results, Link link) {
  for (AdapterResult& adapter : results.adapters) {
    if (adapter.adapter.link == link) adapter.state = AdapterState::Disconnected;
  }
  for (TargetResult& result : results.targets) {
    if (result.target.link != link) continue;
    result.sent = false;
    result.answered = 0;
    result.roundTripsMs.clear();
  }
}

struct Row {
  const char* name;
  std::function<void(Results&)> change;
  std::vector<std::string> expected;        // "FAIL R13 HB1 @1,2", of the findings whose id is under test
  std::vector<std::wstring> mentions = {};  // texts their lines and remedies must hold between them
  std::wstring line = {};                   // where given, the whole line of the first of them
};

// Runs each row on a healthy run; `ids` are those under test, none for every finding.
void ExpectRows(const std::set<std::wstring>& ids, const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Results results = HealthyRun();
    row.change(results);
    std::vector<std::string> keys;
    std::vector<std::wstring> lines;
    std::wstring text;
    for (const Finding& finding : LinkProbeFindings(results)) {
      EXPECT_EQ(ReadinessFindingLine(finding).find_first_of(L"\r\n"), std::wstring::npos);
      EXPECT_FALSE(finding.remedy.empty());
      if (!ids.empty() && ids.count(finding.id) == 0) continue;
      keys.push_back(FindingKey(finding));
      lines.push_back(ReadinessFindingLine(finding));
      text += lines.back() + L" " + finding.remedy + L"\n";
    }
    EXPECT_EQ(keys, row.expected);
    for (const std::wstring& mention : row.mentions) {
      EXPECT_NE(text.find(mention), std::wstring::npos) << Utf8FromWide(mention) << " not in\n" << Utf8FromWide(text);
    }
    if (!row.line.empty()) {
      EXPECT_EQ(lines.empty() ? L"" : lines[0], row.line);
    }
  }
}

std::string PlanText(const ProbePlan& plan) {
  std::ostringstream text;
  text << "here " << plan.here;
  for (const ProbeTarget& target : plan.targets) {
    text << "; " << Utf8FromWide(ProbeTargetName(target)) << ' ' << Utf8FromWide(target.from) << "->"
         << Utf8FromWide(target.to);
  }
  return text.str();
}

constexpr char kFromNodeA[] =
    "here 1; Link CLAN 10.1.1.11->10.1.1.12; Link ELAN 10.2.2.11->10.2.2.12; Link HB1 192.168.101.11->192.168.101.12; "
    "Link HB2 192.168.102.11->192.168.102.12; Link MIRROR 192.168.103.11->192.168.103.12; "
    "Managed CLAN IP 10.1.1.11->10.1.1.5; Managed ELAN IP 10.2.2.11->10.2.2.5; CLAN test address "
    "10.1.1.11->10.1.1.1; Switch IP Address 10.2.2.11->10.2.2.250";

}  // namespace

TEST(LinkProbePlan, ProbesFromTheNodeThisIsToItsPartnerAndTheClustersAddresses) {
  struct Case {
    const char* what;
    std::wstring computer;
    std::function<void(ReadinessPair&)> change;
    std::string expected;
  };
  const Case cases[] = {
      {"from Node 1", L"NODE-A", {}, kFromNodeA},
      {"the name ignoring case", L"Node-A", {}, kFromNodeA},
      {"from Node 2, its own addresses",
       L"node-b",
       {},
       "here 2; Link CLAN 10.1.1.12->10.1.1.11; Link ELAN 10.2.2.12->10.2.2.11; Link HB1 "
       "192.168.101.12->192.168.101.11; Link HB2 192.168.102.12->192.168.102.11; Link MIRROR "
       "192.168.103.12->192.168.103.11; Managed CLAN IP 10.1.1.12->10.1.1.5; Managed ELAN IP 10.2.2.12->10.2.2.5; "
       "CLAN test address 10.1.1.12->10.1.1.1; Switch IP Address 10.2.2.12->10.2.2.250"},
      {"neither node", L"NODE-C", {}, "here 0"},
      {"no computer name", L"", {}, "here 0"},
      {"the loopback test address is not probed", L"NODE-A",
       [](ReadinessPair& pair) { pair.entries.ClanTestIp = L"127.0.0.1"; },
       "here 1; Link CLAN 10.1.1.11->10.1.1.12; Link ELAN 10.2.2.11->10.2.2.12; Link HB1 "
       "192.168.101.11->192.168.101.12; Link HB2 192.168.102.11->192.168.102.12; Link MIRROR "
       "192.168.103.11->192.168.103.12; Managed CLAN IP 10.1.1.11->10.1.1.5; Managed ELAN IP 10.2.2.11->10.2.2.5; "
       "Switch IP Address 10.2.2.11->10.2.2.250"},
      {"two switch addresses, each probed; a link without a partner address and a bad managed address left out",
       L"NODE-A",
       [](ReadinessPair& pair) {
         pair.node2.SwitchIpAddress = L"10.2.2.251";
         SetLink(pair.node2.Hb2, L"", L"");
         pair.entries.ManagedElanIp = L"10.2.2";
       },
       "here 1; Link CLAN 10.1.1.11->10.1.1.12; Link ELAN 10.2.2.11->10.2.2.12; Link HB1 "
       "192.168.101.11->192.168.101.12; Link MIRROR 192.168.103.11->192.168.103.12; Managed CLAN IP "
       "10.1.1.11->10.1.1.5; CLAN test address 10.1.1.11->10.1.1.1; Switch IP Address 10.2.2.11->10.2.2.250; "
       "Switch IP Address 10.2.2.11->10.2.2.251"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ReadinessPair pair = ProbedPair(c.change);
    const ProbePlan plan = MakeProbePlan(pair.entries, pair.node1, pair.node2, c.computer);
    EXPECT_EQ(PlanText(plan), c.expected);
    EXPECT_EQ(plan.skip, plan.here == 0 ? ProbeSkip::NeitherNode : ProbeSkip::None);
    EXPECT_EQ(plan.adapters.size(), plan.here == 0 ? 0u : 5u);
  }
}

TEST(LinkProbeFindings, R12_LinkDown) {
  const std::vector<Row> rows = {
      {"HB2 of here disconnected",
       [](Results& r) { Unplug(r, Link::Hb2); },
       {"FAIL R12 HB2 @1"},
       {L"The HB2 adapter of node-a is disconnected", L"Plug the HB2 cable of node-a in"}},
      {"two of them",
       [](Results& r) { Unplug(r, Link::Mirror), Unplug(r, Link::Clan); },
       {"FAIL R12 CLAN @1", "FAIL R12 MIRROR @1"}},
      {"a state that could not be read is no finding",
       [](Results& r) { r.adapters[2].state = AdapterState::Unknown; },
       {}},
  };
  ExpectRows({L"R12"}, rows);
}

TEST(LinkProbeFindings, R13_LinkSilent) {
  const std::vector<Row> rows = {
      {"HB1 silent",
       [](Results& r) { Echoes(r, Link::Hb1, 0); },
       {"FAIL R13 HB1 @1,2"},
       {L"HB1 of node-b (192.168.101.12) answered none of 3 echoes from HB1 of node-a (192.168.101.11)",
        L"Check the HB1 cable between node-a and node-b"}},
      {"one echo of three is not silence", [](Results& r) { Echoes(r, Link::Hb1, 1); }, {}},
      {"HB1 and HB2 silent: their cables may be swapped",
       [](Results& r) { Echoes(r, Link::Hb1, 0), Echoes(r, Link::Hb2, 0); },
       {"FAIL R13 HB1 @1,2", "FAIL R13 HB2 @1,2"},
       {L"HB1 and HB2 are both silent while their adapters are connected: their cables may be swapped",
        L"HB2 and HB1 are both silent", L"check that HB1 of node-a is cabled to HB1 of node-b, and HB2 to HB2"}},
      {"three silent: no swap named",
       [](Results& r) { Echoes(r, Link::Hb1, 0), Echoes(r, Link::Hb2, 0), Echoes(r, Link::Mirror, 0); },
       {"FAIL R13 HB1 @1,2", "FAIL R13 HB2 @1,2", "FAIL R13 MIRROR @1,2"},
       {L"Check the MIRROR cable"}},
      {"a silent link beside a disconnected one: no swap, and none for the one not sent",
       [](Results& r) { Echoes(r, Link::Hb1, 0), Unplug(r, Link::Hb2); },
       {"FAIL R13 HB1 @1,2"},
       {L"Check the HB1 cable"}},
  };
  ExpectRows({L"R13"}, rows);
}

TEST(LinkProbeFindings, R14_LinkUnsteady) {
  const std::vector<Row> rows = {
      {"one echo of three lost",
       [](Results& r) { Echoes(r, Link::Hb1, 2); },
       {"WARN R14 HB1 @1,2"},
       {L"answered 2 of 3 echoes from HB1 of node-a", L"a cluster link must not lose echoes"}},
      {"two of three lost", [](Results& r) { Echoes(r, Link::Clan, 1); }, {"WARN R14 CLAN @1,2"}},
      {"a heartbeat at 10 ms", [](Results& r) { Echoes(r, Link::Hb2, 3, 10); }, {}},
      {"a heartbeat at 11 ms",
       [](Results& r) { Echoes(r, Link::Hb2, 3, 11); },
       {"WARN R14 HB2 @1,2"},
       {L"took up to 11 ms a round trip"}},
      {"the mirror at 11 ms", [](Results& r) { Echoes(r, Link::Mirror, 3, 11); }, {"WARN R14 MIRROR @1,2"}},
      {"the CLAN and ELAN may be slower",
       [](Results& r) { Echoes(r, Link::Clan, 3, 40), Echoes(r, Link::Elan, 3, 40); },
       {}},
      {"lost and slow in one finding",
       [](Results& r) { Echoes(r, Link::Hb1, 1, 25); },
       {"WARN R14 HB1 @1,2"},
       {L"answered 1 of 3 echoes, took up to 25 ms a round trip"}},
  };
  ExpectRows({L"R14"}, rows);
}

TEST(LinkProbeFindings, R15_ManagedAddressAnswers) {
  const std::vector<Row> rows = {
      {"the managed CLAN IP answers once",
       [](Results& r) { Echoes(r, Link::Clan, 1, 0, ProbeKind::ManagedClan); },
       {"WARN R15 CLAN @-"},
       {L"The managed CLAN IP 10.1.1.5 already answers echoes: that is right when upgrading this very cluster"}},
      {"the managed ELAN IP answers",
       [](Results& r) { Echoes(r, Link::Elan, 3, 0, ProbeKind::ManagedElan); },
       {"WARN R15 ELAN @-"},
       {L"another managed ELAN IP"}},
  };
  ExpectRows({L"R15"}, rows);
}

TEST(LinkProbeFindings, R16_TestAddressSilent) {
  const std::vector<Row> rows = {
      {"silent",
       [](Results& r) { Echoes(r, Link::Clan, 0, 0, ProbeKind::TestAddress); },
       {"WARN R16 CLAN @1"},
       {L"The CLAN test address 10.1.1.1 answered none of 3 echoes from CLAN of node-a (10.1.1.11)"}},
      {"one answer is enough", [](Results& r) { Echoes(r, Link::Clan, 1, 0, ProbeKind::TestAddress); }, {}},
      {"not sent: the CLAN adapter is disconnected", [](Results& r) { Unplug(r, Link::Clan); }, {}},
  };
  ExpectRows({L"R16"}, rows);
}

// Every finding counted: a switch's silence gives R17 alone.
TEST(LinkProbeFindings, R17_SwitchSilent) {
  const std::vector<Row> rows = {
      {"the switch both nodes name",
       [](Results& r) { Echoes(r, Link::Elan, 0, 0, ProbeKind::Switch); },
       {"WARN R17 ELAN @1,2"},
       {L"The switch address 10.2.2.250 answered none of 3 echoes from ELAN of node-a (10.2.2.11)"}},
      {"one answer is enough", [](Results& r) { Echoes(r, Link::Elan, 1, 0, ProbeKind::Switch); }, {}},
      {"two switch addresses: each is its node's",
       [](Results& r) {
         r = HealthyRun(ProbedPair([](ReadinessPair& pair) { pair.node2.SwitchIpAddress = L"10.2.2.251"; }));
         r.targets.back().answered = 0;
       },
       {"WARN R17 ELAN @2"}},
  };
  ExpectRows({}, rows);
}

TEST(LinkProbeFindings, R18_EchoBlocked) {
  const auto silence = [](Results& r) {
    for (const Link link : kLinks) Echoes(r, link, 0);
  };
  const std::vector<Row> rows = {
      {"no link answered: R18 alone",
       silence,
       {"WARN R18 CLAN/ELAN/HB1/HB2/MIRROR @2"},
       {L"node-b answered no echo on any link although its registry was just read over the network",
        L"Allow echo requests on node-b"}},
      {"none answered and one adapter disconnected",
       [&](Results& r) { silence(r), Unplug(r, Link::Hb2); },
       {"WARN R18 CLAN/ELAN/HB1/MIRROR @2"}},
      {"one link answered once: the others are silent links, not a firewall",
       [&](Results& r) { silence(r), Echoes(r, Link::Mirror, 1); },
       {"FAIL R13 CLAN @1,2", "FAIL R13 ELAN @1,2", "FAIL R13 HB1 @1,2", "FAIL R13 HB2 @1,2", "WARN R14 MIRROR @1,2"}},
  };
  ExpectRows({L"R13", L"R14", L"R18"}, rows);
}

// Every finding counted: a skipped run gives R19 alone, a healthy run nothing at all.
TEST(LinkProbeFindings, R19_ProbesSkipped) {
  const std::vector<Row> rows = {
      {"a healthy run", [](Results&) {}, {}},
      {"neither node",
       [](Results& r) { r = HealthyRun(ProbedPair(), L"NODE-C"); },
       {"INFO R19 - @-"},
       {},
       L"[INFO] R19: The live link probes were skipped: this computer (NODE-C) is neither node of the pair"},
      {"turned off",
       [](Results& r) { r = {}, r.plan = SkippedProbePlan(ProbeSkip::TurnedOff, L"NODE-A"); },
       {"INFO R19 - @-"},
       {},
       L"[INFO] R19: The live link probes were turned off (no-probes, or DUPLEX_SETUP_PROBES=off): the cables and "
       L"addresses were not tested"},
  };
  ExpectRows({}, rows);
}
