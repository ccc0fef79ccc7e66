// The readiness report a support engineer reads (HTML) and tools read (JSON): records and findings in, bytes out.
#pragma once

#include <string>
#include <vector>

#include "common/entries.h"
#include "common/local_date_time.h"
#include "nodes/node_record.h"
#include "validation/link_probe_plan.h"
#include "validation/readiness_finding.h"

// The JSON schema this writer follows (docs/readiness-schema.json); a change that a reader
// could trip over takes a new number.
inline constexpr char kReadinessReportSchema[] = "duplex-readiness/1";

// Local date and time of the run, as the computer's clock gave it.
using ReportTime = LocalDateTime;

struct ReportRun {
  ReportTime time;
  std::wstring computer;  // the computer name the program ran on
  std::wstring version;   // "1.0"
  std::wstring edition;   // "Windows" or "lab"
  int stage = 1;          // 1 or 2, as the window names it
  int step = 2;           // 2 or 3
  std::wstring lab;       // the lab's folder in a run on a lab, else empty
};

struct ReportInput {
  ReportRun run;
  Entries entries;
  NodeRecord node1;
  NodeRecord node2;
  // The step's own comparison: whether it passed, and its report lines (switch address,
  // CLAN domain, services), one per element, without line ends.
  bool validationPassed = true;
  std::vector<std::wstring> validationLines;
  std::vector<Finding> findings;
  // The live link probes: what was sent from which node and what answered, or why nothing was.
  LinkProbeResults links;
};

// "readiness-20261208-143005": the name both files share, before ".html" and ".json".
std::wstring ReportFileBaseName(const ReportTime& time);
// "2026-12-08 14:30:05"
std::wstring ReportTimeText(const ReportTime& time);

// One self-contained page (styles inline, no script, nothing fetched), UTF-8, every value escaped.
std::string ReportHtml(const ReportInput& input);
// The same run for tools, UTF-8, following kReadinessReportSchema.
std::string ReportJson(const ReportInput& input);
