// Many sites' readiness reports in one table: the rows put worst first, the findings counted per check.
#include "report/fleet_summary.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

#include "report/readiness_report.h"

const wchar_t* FleetStatusName(FleetStatus status) {
  switch (status) {
    case FleetStatus::NotRead: return L"NOT READ";
    case FleetStatus::Invalid: return L"INVALID";
    case FleetStatus::Fail: return L"FAIL";
    case FleetStatus::Warn: return L"WARN";
    case FleetStatus::Clean: return L"OK";
  }
  return L"";
}

FleetSummary SummarizeFleet(std::vector<FleetRow> rows) {
  // Worse first: the status, then more FAIL, WARN and INFO findings; among equals by site, the
  // latest run first, then by file, so that the order never depends on how the folders were walked.
  std::sort(rows.begin(), rows.end(), [](const FleetRow& a, const FleetRow& b) {
    return std::tie(a.status, b.counts.fail, b.counts.warn, b.counts.info, a.site, b.time, a.file) <
           std::tie(b.status, a.counts.fail, a.counts.warn, a.counts.info, b.site, a.time, b.file);
  });

  std::map<std::wstring, FleetCheckCount> checks;
  for (const FleetRow& row : rows) {
    std::set<std::wstring> seen;
    for (const FleetFinding& finding : row.findings) {
      FleetCheckCount& count = checks[finding.id];
      count.id = finding.id;
      count.check = finding.check;
      ++(finding.severity == Severity::Fail   ? count.counts.fail
         : finding.severity == Severity::Warn ? count.counts.warn
                                              : count.counts.info);
      if (seen.insert(finding.id).second) ++count.reports;
    }
  }

  FleetSummary summary;
  summary.worst = rows.empty() ? FleetStatus::NotRead : rows.front().status;
  summary.rows = std::move(rows);
  for (auto& [id, count] : checks) summary.checks.push_back(std::move(count));
  return summary;
}

int CountRows(const FleetSummary& summary, FleetStatus status) {
  int count = 0;
  for (const FleetRow& row : summary.rows) count += row.status == status ? 1 : 0;
  return count;
}

std::wstring FleetSummaryBaseName(const LocalDateTime& time) {
  // The readiness report's own "-YYYYMMDD-HHMMSS", after its "readiness".
  constexpr std::size_t kReportWord = 9;
  return L"fleet-summary" + ReportFileBaseName(time).substr(kReportWord);
}
