// The live link probes: what is probed from the node the program runs on, and what came back.
#include "validation/link_probe_plan.h"

#include <algorithm>
#include <cmath>

#include "common/text_case.h"
#include "common/text_format.h"
#include "validation/ipv4.h"
#include "validation/readiness_checks.h"

namespace {

// The loopback test address the entry rules accept: probing it tells nothing about the CLAN.
constexpr wchar_t kLoopbackTestAddress[] = L"127.0.0.1";

void AddTarget(ProbePlan& plan, ProbeKind kind, Link link, const std::wstring& from, const std::wstring& to,
               std::vector<int> nodes = {}) {
  if (!ParseIpv4(from) || !ParseIpv4(to)) return;
  plan.targets.push_back({kind, link, from, to, std::move(nodes)});
}

std::wstring NodeName(const NodeRecord& node, const std::wstring& typed, int number) {
  if (!node.HostName.empty()) return node.HostName;
  return typed.empty() ? FormatText(L"Node %d", {number}) : typed;
}

}  // namespace

ProbePlan SkippedProbePlan(ProbeSkip skip, const std::wstring& computerName) {
  ProbePlan plan;
  plan.skip = skip;
  plan.computerName = computerName;
  return plan;
}

ProbePlan MakeProbePlan(const Entries& entries, const NodeRecord& node1, const NodeRecord& node2,
                        const std::wstring& computerName) {
  // The servers Step 1 read, by the names it read them under (what the entries say now may differ).
  const std::wstring name1 = NodeName(node1, entries.Node1HostName, 1);
  const std::wstring name2 = NodeName(node2, entries.Node2HostName, 2);
  int here = 0;
  if (!computerName.empty() && EqualsIgnoringAsciiCase(computerName, name1)) {
    here = 1;
  } else if (!computerName.empty() && EqualsIgnoringAsciiCase(computerName, name2)) {
    here = 2;
  }
  if (here == 0) return SkippedProbePlan(ProbeSkip::NeitherNode, computerName);

  const NodeRecord& mine = here == 1 ? node1 : node2;
  const NodeRecord& partner = here == 1 ? node2 : node1;
  ProbePlan plan;
  plan.here = here;
  plan.computerName = computerName;
  plan.hereName = here == 1 ? name1 : name2;
  plan.partnerName = here == 1 ? name2 : name1;
  for (const Link link : kLinks) {
    const cNIC& nic = LinkOf(mine, link);
    if (!nic.Uuid.empty()) plan.adapters.push_back({link, nic.Uuid});
    AddTarget(plan, ProbeKind::Link, link, nic.IpAddress, LinkOf(partner, link).IpAddress);
  }
  AddTarget(plan, ProbeKind::ManagedClan, Link::Clan, mine.Clan.IpAddress, entries.ManagedClanIp);
  AddTarget(plan, ProbeKind::ManagedElan, Link::Elan, mine.Elan.IpAddress, entries.ManagedElanIp);
  if (entries.ClanTestIp != kLoopbackTestAddress) {
    AddTarget(plan, ProbeKind::TestAddress, Link::Clan, mine.Clan.IpAddress, entries.ClanTestIp);
  }
  if (node1.SwitchIpAddress == node2.SwitchIpAddress) {
    AddTarget(plan, ProbeKind::Switch, Link::Elan, mine.Elan.IpAddress, node1.SwitchIpAddress, {1, 2});
  } else {
    AddTarget(plan, ProbeKind::Switch, Link::Elan, mine.Elan.IpAddress, node1.SwitchIpAddress, {1});
    AddTarget(plan, ProbeKind::Switch, Link::Elan, mine.Elan.IpAddress, node2.SwitchIpAddress, {2});
  }
  return plan;
}

AdapterState AdapterStateOf(const LinkProbeResults& results, Link link) {
  const auto it = std::find_if(results.adapters.begin(), results.adapters.end(),
                               [link](const AdapterResult& result) { return result.adapter.link == link; });
  return it == results.adapters.end() ? AdapterState::Unknown : it->state;
}

std::wstring ProbeTargetName(const ProbeTarget& target) {
  switch (target.kind) {
    case ProbeKind::Link: return FormatText(L"Link %s", {LinkName(target.link)});
    case ProbeKind::ManagedClan: return L"Managed CLAN IP";
    case ProbeKind::ManagedElan: return L"Managed ELAN IP";
    case ProbeKind::TestAddress: return L"CLAN test address";
    case ProbeKind::Switch: return L"Switch IP Address";
  }
  return L"";
}

RoundTripSummary SummarizeRoundTrips(const std::vector<std::uint32_t>& roundTripsMs) {
  RoundTripSummary summary;
  if (roundTripsMs.empty()) return summary;
  summary.min = *std::min_element(roundTripsMs.begin(), roundTripsMs.end());
  summary.max = *std::max_element(roundTripsMs.begin(), roundTripsMs.end());
  double total = 0;
  for (const std::uint32_t trip : roundTripsMs) total += trip;
  summary.average = total / static_cast<double>(roundTripsMs.size());
  return summary;
}

std::wstring MillisecondsText(double milliseconds) {
  const auto tenths = static_cast<long long>(std::llround(milliseconds * 10));
  return std::to_wstring(tenths / 10) + L"." + std::to_wstring(tenths % 10);
}
