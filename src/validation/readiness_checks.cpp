// The cluster readiness checks run in one pass, and their findings put in the order every reader sees.
#include "validation/readiness_checks.h"

#include <algorithm>
#include <tuple>

#include "common/text_format.h"
#include "validation/readiness_context.h"

const wchar_t* SeverityName(Severity severity) {
  switch (severity) {
    case Severity::Fail: return L"FAIL";
    case Severity::Warn: return L"WARN";
    case Severity::Info: return L"INFO";
  }
  return L"";
}

const wchar_t* LinkName(Link link) {
  switch (link) {
    case Link::Clan: return L"CLAN";
    case Link::Elan: return L"ELAN";
    case Link::Hb1: return L"HB1";
    case Link::Hb2: return L"HB2";
    case Link::Mirror: return L"MIRROR";
  }
  return L"";
}

FindingCounts CountFindings(const std::vector<Finding>& findings) {
  FindingCounts counts;
  for (const Finding& finding : findings) {
    switch (finding.severity) {
      case Severity::Fail: ++counts.fail; break;
      case Severity::Warn: ++counts.warn; break;
      case Severity::Info: ++counts.info; break;
    }
  }
  return counts;
}

const cNIC& LinkOf(const NodeRecord& node, Link link) {
  switch (link) {
    case Link::Clan: return node.Clan;
    case Link::Elan: return node.Elan;
    case Link::Hb1: return node.Hb1;
    case Link::Hb2: return node.Hb2;
    case Link::Mirror: return node.Mirror;
  }
  return node.Clan;
}

std::vector<std::wstring> LinkAddresses(const cNIC& nic) {
  if (!nic.IpAddresses.empty()) return nic.IpAddresses;
  if (nic.IpAddress.empty()) return {};
  return {nic.IpAddress};
}

namespace readiness {

namespace {
NodeState MakeNodeState(int number, const NodeRecord& record) {
  NodeState node;
  node.number = number;
  node.name = record.HostName.empty() ? FormatText(L"Node %d", {number}) : record.HostName;
  node.record = &record;
  for (const Link link : kLinks) {
    LinkState& state = node.links[static_cast<int>(link)];
    state.link = link;
    state.nic = &LinkOf(record, link);
    state.address = ParseIpv4(state.nic->IpAddress);
    state.mask = ParseMask(state.nic->SubnetMask);
    if (state.address && state.mask) state.subnet = Ipv4Subnet{*state.address, *state.mask};
  }
  return node;
}
}  // namespace

PairState MakePairState(const Entries& entries, const NodeRecord& node1, const NodeRecord& node2) {
  PairState pair;
  pair.entries = &entries;
  pair.nodes[0] = MakeNodeState(1, node1);
  pair.nodes[1] = MakeNodeState(2, node2);
  return pair;
}

std::wstring LinkOfNode(const NodeState& node, Link link) {
  return FormatText(L"%s of %s", {LinkName(link), node.name});
}

std::wstring ObservedName(const NodeState& node, Link link, const wchar_t* what) {
  return FormatText(L"%s %s %s", {node.name, LinkName(link), what});
}

std::wstring AddressUnderMask(const LinkState& state) {
  if (state.subnet) return SubnetText(*state.subnet);
  return FormatText(L"%s mask %s", {state.nic->IpAddress, state.nic->SubnetMask});
}

Finding MakeFinding(const wchar_t* id, const wchar_t* check, Severity severity, std::vector<Link> links,
                    std::vector<int> nodes, std::wstring message, std::wstring remedy,
                    std::vector<ObservedValue> observed) {
  Finding finding;
  finding.id = id;
  finding.check = check;
  finding.severity = severity;
  finding.links = std::move(links);
  finding.nodes = std::move(nodes);
  finding.observed = std::move(observed);
  finding.message = std::move(message);
  finding.remedy = std::move(remedy);
  return finding;
}

}  // namespace readiness

std::vector<Finding> RunReadinessChecks(const Entries& entries, const NodeRecord& node1, const NodeRecord& node2) {
  using namespace readiness;
  const PairState pair = MakePairState(entries, node1, node2);
  std::vector<Finding> findings;
  for (const auto check :
       {CheckIncompleteLinks, CheckLinkNetworks, CheckMasks, CheckOverlaps, CheckDuplicates, CheckManagedPlacement,
        CheckGateways, CheckAddressForms, CheckTestAddress, CheckSeveralAddresses}) {
    check(pair, findings);
  }
  SortFindings(findings);
  return findings;
}

void SortFindings(std::vector<Finding>& findings) {
  // Stable: findings equal in all three keys keep the order the checks found them in.
  std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
    return std::tie(a.severity, a.id, a.links) < std::tie(b.severity, b.id, b.links);
  });
}
