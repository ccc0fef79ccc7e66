// Many sites' readiness reports in one table, worst first: reports in, rows and the summary's bytes out.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/local_date_time.h"
#include "validation/readiness_finding.h"

// What a report says of its pair, or why it says nothing: worst first.
enum class FleetStatus { NotRead, Invalid, Fail, Warn, Clean };

// "NOT READ", "INVALID", "FAIL", "WARN", "OK".
const wchar_t* FleetStatusName(FleetStatus status);

// A finding of a report, as much of it as the fleet's counts need.
struct FleetFinding {
  std::wstring id;     // "R07"
  std::wstring check;  // "crossed-links"
  Severity severity = Severity::Info;
};

// One report found under the fleet's folders.
struct FleetRow {
  FleetStatus status = FleetStatus::NotRead;
  std::wstring site;   // the folder the report lies in
  std::wstring file;   // the report's path, as it was found
  std::wstring nodes;  // "node-a, node-b"
  std::wstring time;   // "2026-12-08 14:30:05", the run's local time
  int stage = 0;
  int step = 0;
  FindingCounts counts;
  // The first FAIL finding's ("R07: HB1 and HB2 are crossed: ..."), else the first line of a
  // failed validation ("Step 2 validation: ..."); for a report not read or invalid, why.
  std::wstring message;
  std::vector<FleetFinding> findings;

  // A report read and following the schema: its stage, step and counts mean something.
  bool Read() const { return status != FleetStatus::NotRead && status != FleetStatus::Invalid; }
};

// Findings of one check over the whole fleet.
struct FleetCheckCount {
  std::wstring id;
  std::wstring check;
  FindingCounts counts;
  int reports = 0;  // reports holding at least one
};

struct FleetSummary {
  std::vector<FleetRow> rows;              // worst first
  std::vector<FleetCheckCount> checks;     // by id
  FleetStatus worst = FleetStatus::Clean;  // the first row's; NotRead when there is no row
};

class JsonSchema;

// Reads reports against the schema the program was built with (docs/readiness-schema.json).
class FleetReportReader {
 public:
  FleetReportReader();
  ~FleetReportReader();
  FleetReportReader(const FleetReportReader&) = delete;
  FleetReportReader& operator=(const FleetReportReader&) = delete;

  // Empty when the built-in schema could be read, which a unit test makes sure of.
  const std::wstring& SchemaProblem() const { return schemaProblem_; }

  // The row of a report's bytes: Invalid, with the first place at fault, when they are no JSON,
  // do not follow the schema, or count findings their summary does not hold.
  FleetRow Read(const std::wstring& site, const std::wstring& file, std::string_view bytes) const;

 private:
  std::unique_ptr<JsonSchema> schema_;
  std::wstring schemaProblem_;
};

// The row of a file that could not be read at all.
FleetRow NotReadRow(const std::wstring& site, const std::wstring& file, const std::wstring& why);

// Sorts the rows worst first (status; then more FAIL, WARN, INFO; then site, latest time, file)
// and counts the findings per check id.
FleetSummary SummarizeFleet(std::vector<FleetRow> rows);

// How many of the summary's rows have `status`.
int CountRows(const FleetSummary& summary, FleetStatus status);

// "fleet-summary-20261208-143005": the name the HTML and CSV files share, before their extension.
std::wstring FleetSummaryBaseName(const LocalDateTime& time);

// One self-contained page (no script, nothing fetched), UTF-8, every value escaped: the counts,
// the rows, the findings per check. `folders` are the folders read, `time` when.
std::string FleetSummaryHtml(const FleetSummary& summary, const std::vector<std::wstring>& folders,
                             const LocalDateTime& time);
// The rows for spreadsheets and scripts: UTF-8, comma-separated, CR LF, a header line, then one
// line per row with a column per check id seen in the fleet (its findings in that report).
std::string FleetSummaryCsv(const FleetSummary& summary);
