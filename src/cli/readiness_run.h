// The readiness checks as check runs them: every finding printed and logged, the report saved.
#pragma once

#include <string>
#include <vector>

#include "common/entries.h"
#include "nodes/node_record.h"
#include "validation/readiness_finding.h"

class CliOutput;
struct CliContext;

struct ReadinessRun {
  std::vector<Finding> findings;
  FindingCounts counts;
  // The report's HTML file, empty when the report could not be written (said and logged).
  std::wstring reportPath;
};

// Runs the checks over the entries and the two records and the live link probes (unless
// `noProbes`), prints and logs every finding, one a line
// (FAIL as an error, WARN as a warning, INFO as information, as the window logs them), and saves
// the report: where the window saves it (%ProgramData%\Zandor\Reports of the platform), or in
// `folder` of this computer when one is named. Step 2's own comparison (`validationLines`, none
// when it passed) goes into the report with the findings.
ReadinessRun RunReadiness(const Entries& entries, const NodeRecord& node1, const NodeRecord& node2,
                          const std::vector<std::wstring>& validationLines, const std::wstring& folder, bool noProbes,
                          CliContext& context, CliOutput& output);
