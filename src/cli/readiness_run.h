// The readiness checks as a run without a window makes them: each finding printed and logged, the report saved.
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
  // The report's HTML file, empty when the report could not be written (said on standard error).
  std::wstring reportPath;
};

// Runs the checks over the entries and the two records, prints and logs every finding, one a line
// (FAIL as an error), and saves the report (HTML and JSON, named by the run's time) in `folder`.
// `step` (2 or 3) and Step 2's own comparison (`validationLines`, none when it passed) go into the report.
ReadinessRun RunReadiness(const Entries& entries, const NodeRecord& node1, const NodeRecord& node2, int step,
                          const std::vector<std::wstring>& validationLines, const std::wstring& folder,
                          CliContext& context, CliOutput& output);
