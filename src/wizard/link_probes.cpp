// The live link probes as a readiness run takes them: after the registry checks, logged, their findings added.
#include "wizard/link_probes.h"

#include <cstdlib>
#include <string>

#include "common/text_case.h"
#include "common/text_encoding.h"
#include "common/text_format.h"
#include "log/install_log.h"
#include "platform/platform.h"
#include "validation/link_probe_findings.h"
#include "validation/readiness_checks.h"
#include "wizard/link_probe_runner.h"

namespace {

// "Link HB1: 192.168.101.11 -> 192.168.101.12, 3 of 3 answered, 0.4 ms"
std::wstring ProbeLine(const TargetResult& result) {
  const ProbeTarget& target = result.target;
  std::wstring line = FormatText(L"%s: %s -> %s, ", {ProbeTargetName(target), target.from, target.to});
  if (!result.sent) return line + L"not probed: the adapter is disconnected.";
  line += FormatText(L"%d of %d answered", {result.answered, kEchoesPerTarget});
  if (result.answered > 0) line += L", " + MillisecondsText(SummarizeRoundTrips(result.roundTripsMs).average) + L" ms";
  return line + L".";
}

}  // namespace

bool ProbesTurnedOffByEnvironment() {
  const char* value = std::getenv(kProbesVariable);
  return value != nullptr && EqualsIgnoringAsciiCase(WideFromUtf8(value), L"off");
}

LinkProbeResults ProbeLinks(Platform& platform, InstallLog& log, const Entries& entries, const NodeRecord& node1,
                            const NodeRecord& node2, bool turnedOff, const OffWindowThread& offWindowThread,
                            std::vector<Finding>& findings) {
  std::wstring computerName;
  if (platform.machine.QueryComputerName(&computerName) != status::Success) computerName.clear();
  const ProbePlan plan = turnedOff || ProbesTurnedOffByEnvironment()
                             ? SkippedProbePlan(ProbeSkip::TurnedOff, computerName)
                             : MakeProbePlan(entries, node1, node2, computerName);
  LinkProbeResults results;
  const auto probe = [&] {
    results = RunLinkProbes(plan, platform.network, platform.machine);
    return status::Success;
  };
  if (plan.skip != ProbeSkip::None) {
    results.plan = plan;
  } else if (offWindowThread) {
    (void)offWindowThread(probe);
  } else {
    probe();
  }
  for (const TargetResult& result : results.targets) log.Info(ProbeLine(result));
  for (Finding& finding : LinkProbeFindings(results)) findings.push_back(std::move(finding));
  SortFindings(findings);
  return results;
}
