// The findings of the live link probes (R12-R19, docs/readiness.md): probe results in, findings out.
#include "validation/link_probe_findings.h"

#include <algorithm>

#include "common/text_format.h"
#include "validation/readiness_checks.h"
#include "validation/readiness_context.h"

namespace {

using readiness::MakeFinding;

bool IsLinkProbe(const TargetResult& result) { return result.target.kind == ProbeKind::Link; }
bool IsSilent(const TargetResult& result) { return result.sent && result.answered == 0; }

// "HB1 of node-a"
std::wstring LinkOf(const std::wstring& node, Link link) { return FormatText(L"%s of %s", {LinkName(link), node}); }

std::wstring AnsweredText(const TargetResult& result) {
  return FormatText(L"%d of %d", {result.answered, kEchoesPerTarget});
}

// A link finding is about its two ends.
const std::vector<int> kBothNodes{1, 2};

void CheckAdapters(const LinkProbeResults& results, std::vector<Finding>& out) {
  const ProbePlan& plan = results.plan;
  for (const AdapterResult& adapter : results.adapters) {
    if (adapter.state != AdapterState::Disconnected) continue;
    const Link link = adapter.adapter.link;
    out.push_back(MakeFinding(
        L"R12", L"link-down", Severity::Fail, {link}, {plan.here},
        FormatText(L"The %s adapter of %s is disconnected: no cable, or nothing live at its other end",
                   {LinkName(link), plan.hereName}),
        FormatText(L"Plug the %s cable of %s in, and check the cable and the port at its other end",
                   {LinkName(link), plan.hereName}),
        {{FormatText(L"%s %s adapter", {plan.hereName, LinkName(link)}), adapter.adapter.guid + L" disconnected"}}));
  }
}

// R13 per silent link, or R18 once when the partner answered on none of them.
void CheckLinkEchoes(const LinkProbeResults& results, std::vector<Finding>& out) {
  const ProbePlan& plan = results.plan;
  std::vector<const TargetResult*> sent;
  std::vector<const TargetResult*> silent;
  for (const TargetResult& result : results.targets) {
    if (!IsLinkProbe(result) || !result.sent) continue;
    sent.push_back(&result);
    if (IsSilent(result)) silent.push_back(&result);
  }
  if (sent.empty() || silent.empty()) return;
  if (silent.size() == sent.size()) {
    std::vector<Link> links;
    std::vector<ObservedValue> observed;
    for (const TargetResult* result : silent) {
      links.push_back(result->target.link);
      observed.push_back(
          {FormatText(L"%s %s echoes", {plan.partnerName, LinkName(result->target.link)}),
           FormatText(L"%s -> %s, 0 of %d answered", {result->target.from, result->target.to, kEchoesPerTarget})});
    }
    out.push_back(MakeFinding(
        L"R18", L"echo-blocked", Severity::Warn, std::move(links), {3 - plan.here},
        FormatText(L"%s answered no echo on any link although its registry was just read over the network: its "
                   L"firewall most likely drops echo requests, so the cables could not be tested",
                   {plan.partnerName}),
        FormatText(L"Allow echo requests on %s (its firewall's \"File and Printer Sharing (Echo Request - "
                   L"ICMPv4-In)\" rule), then run the checks again to test the cables",
                   {plan.partnerName}),
        std::move(observed)));
    return;
  }
  // Two links silent side by side while both adapters are up: the classic swap of two cables.
  const bool swapped = silent.size() == 2;
  for (const TargetResult* result : silent) {
    const Link link = result->target.link;
    std::wstring remedy;
    if (swapped) {
      const Link other = silent[0] == result ? silent[1]->target.link : silent[0]->target.link;
      remedy = FormatText(
          L"%s and %s are both silent while their adapters are connected: their cables may be swapped between the "
          L"nodes; check that %s of %s is cabled to %s of %s, and %s to %s",
          {LinkName(link), LinkName(other), LinkName(link), plan.hereName, LinkName(link), plan.partnerName,
           LinkName(other), LinkName(other)});
    } else {
      remedy =
          FormatText(L"Check the %s cable between %s and %s, the ports it is plugged into and their network (VLAN)",
                     {LinkName(link), plan.hereName, plan.partnerName});
    }
    out.push_back(MakeFinding(
        L"R13", L"link-silent", Severity::Fail, {link}, kBothNodes,
        FormatText(L"%s (%s) answered none of %d echoes from %s (%s)",
                   {LinkOf(plan.partnerName, link), result->target.to, kEchoesPerTarget, LinkOf(plan.hereName, link),
                    result->target.from}),
        std::move(remedy),
        {{FormatText(L"%s %s echoes", {plan.partnerName, LinkName(link)}),
          FormatText(L"%s -> %s, 0 of %d answered", {result->target.from, result->target.to, kEchoesPerTarget})}}));
  }
}

void CheckSteadiness(const LinkProbeResults& results, std::vector<Finding>& out) {
  const ProbePlan& plan = results.plan;
  for (const TargetResult& result : results.targets) {
    if (!IsLinkProbe(result) || !result.sent || result.answered == 0) continue;
    const Link link = result.target.link;
    const RoundTripSummary trips = SummarizeRoundTrips(result.roundTripsMs);
    const bool lossy = result.answered < kEchoesPerTarget;
    const bool slow = link != Link::Clan && link != Link::Elan && trips.max > kSteadyRoundTripMs;
    if (!lossy && !slow) continue;
    std::wstring what;
    if (lossy) what = FormatText(L"answered %s echoes", {AnsweredText(result)});
    if (slow) {
      what += (what.empty() ? L"" : L", ") +
              FormatText(L"took up to %d ms a round trip (a heartbeat or mirror link should take at most %d ms)",
                         {trips.max, kSteadyRoundTripMs});
    }
    out.push_back(MakeFinding(
        L"R14", L"link-unsteady", Severity::Warn, {link}, kBothNodes,
        FormatText(L"%s (%s) %s from %s",
                   {LinkOf(plan.partnerName, link), result.target.to, what, LinkOf(plan.hereName, link)}),
        FormatText(L"Check the %s cable, its ports and their speed and duplex settings, and what else shares the "
                   L"link; a cluster link must not lose echoes",
                   {LinkName(link)}),
        {{FormatText(L"%s %s echoes", {plan.partnerName, LinkName(link)}),
          FormatText(L"%s -> %s, %s answered, round trip %d/%s/%d ms",
                     {result.target.from, result.target.to, AnsweredText(result), trips.min,
                      MillisecondsText(trips.average), trips.max})}}));
  }
}

void CheckAddresses(const LinkProbeResults& results, std::vector<Finding>& out) {
  const ProbePlan& plan = results.plan;
  for (const TargetResult& result : results.targets) {
    if (!result.sent) continue;
    const ProbeTarget& target = result.target;
    const ObservedValue echoes{ProbeTargetName(target) + L" echoes",
                               FormatText(L"%s -> %s, %s answered", {target.from, target.to, AnsweredText(result)})};
    switch (target.kind) {
      case ProbeKind::Link: break;
      case ProbeKind::ManagedClan:
      case ProbeKind::ManagedElan: {
        if (result.answered == 0) break;
        const wchar_t* name = target.kind == ProbeKind::ManagedClan ? L"managed CLAN IP" : L"managed ELAN IP";
        out.push_back(MakeFinding(
            L"R15", L"managed-address-answers", Severity::Warn, {target.link}, {},
            FormatText(L"The %s %s already answers echoes: that is right when upgrading this very cluster, whose "
                       L"managed address is live; otherwise another machine holds it",
                       {name, target.to}),
            FormatText(L"Unless this is an upgrade of this cluster, find the machine that answers on %s and free "
                       L"the address, or choose another %s",
                       {target.to, name}),
            {echoes}));
        break;
      }
      case ProbeKind::TestAddress:
        if (result.answered > 0) break;
        out.push_back(MakeFinding(
            L"R16", L"test-address-silent", Severity::Warn, {Link::Clan}, {plan.here},
            FormatText(L"The CLAN test address %s answered none of %d echoes from %s (%s): the cluster would judge "
                       L"its CLAN failed and fail over",
                       {target.to, kEchoesPerTarget, LinkOf(plan.hereName, Link::Clan), target.from}),
            L"Choose a CLAN test address that always answers echoes (the CLAN gateway, say), or allow echoes on it",
            {echoes}));
        break;
      case ProbeKind::Switch:
        if (result.answered > 0) break;
        out.push_back(MakeFinding(
            L"R17", L"switch-silent", Severity::Warn, {Link::Elan}, target.nodes,
            FormatText(L"The switch address %s answered none of %d echoes from %s (%s)",
                       {target.to, kEchoesPerTarget, LinkOf(plan.hereName, Link::Elan), target.from}),
            L"Check the \"Switch IP Address\" of both nodes and that the switch answers echoes on the ELAN", {echoes}));
        break;
    }
  }
}

Finding SkippedFinding(const ProbePlan& plan) {
  if (plan.skip == ProbeSkip::TurnedOff) {
    return MakeFinding(L"R19", L"probes-skipped", Severity::Info, {}, {},
                       L"The live link probes were turned off (no-probes, or DUPLEX_SETUP_PROBES=off): the cables "
                       L"and addresses were not tested",
                       L"Where echoes are allowed, run the checks again with the probes on; otherwise ping each "
                       L"link's partner address from each node by hand",
                       {});
  }
  return MakeFinding(L"R19", L"probes-skipped", Severity::Info, {}, {},
                     FormatText(L"The live link probes were skipped: this computer (%s) is neither node of the pair",
                                {plan.computerName}),
                     L"Run the checks on Node 1 or Node 2 to test the cables and addresses", {});
}

}  // namespace

std::vector<Finding> LinkProbeFindings(const LinkProbeResults& results) {
  if (results.plan.skip != ProbeSkip::None) return {SkippedFinding(results.plan)};
  std::vector<Finding> findings;
  CheckAdapters(results, findings);
  CheckLinkEchoes(results, findings);
  CheckSteadiness(results, findings);
  CheckAddresses(results, findings);
  SortFindings(findings);
  return findings;
}
