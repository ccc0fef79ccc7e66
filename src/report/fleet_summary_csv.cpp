// The fleet's summary for spreadsheets and scripts: one comma-separated line per report, worst first.
#include <string>

#include "common/text_encoding.h"
#include "report/fleet_summary.h"

namespace {
// RFC 4180: a field with a comma, quote or line end is quoted, its quotes doubled. A field that a
// spreadsheet would take for a formula (=, +, -, @ first) is given a leading apostrophe: the values
// come from servers and folder names, and a report must never make a spreadsheet compute.
std::wstring Field(const std::wstring& text) {
  std::wstring value = text;
  if (!value.empty() && std::wstring(L"=+-@").find(value[0]) != std::wstring::npos) value.insert(0, 1, L'\'');
  if (value.find_first_of(L",\"\r\n") == std::wstring::npos) return value;
  std::wstring quoted = L"\"";
  for (const wchar_t c : value) quoted += c == L'"' ? std::wstring(L"\"\"") : std::wstring(1, c);
  return quoted + L"\"";
}

std::wstring Number(int number) { return std::to_wstring(number); }
}  // namespace

std::string FleetSummaryCsv(const FleetSummary& summary) {
  std::wstring csv = L"Status,Site,Nodes,Time,Stage,Step,FAIL,WARN,INFO,First FAIL or reason,Report";
  for (const FleetCheckCount& check : summary.checks) csv += L"," + Field(check.id);
  csv += L"\r\n";
  for (const FleetRow& row : summary.rows) {
    csv += std::wstring(FleetStatusName(row.status)) + L"," + Field(row.site) + L"," + Field(row.nodes) + L"," +
           Field(row.time) + L",";
    csv += row.Read() ? Number(row.stage) + L"," + Number(row.step) + L"," + Number(row.counts.fail) + L"," +
                            Number(row.counts.warn) + L"," + Number(row.counts.info)
                      : std::wstring(L",,,,");
    csv += L"," + Field(row.message) + L"," + Field(row.file);
    for (const FleetCheckCount& check : summary.checks) {
      int count = 0;
      for (const FleetFinding& finding : row.findings) count += finding.id == check.id ? 1 : 0;
      csv += L"," + (row.Read() ? Number(count) : std::wstring());
    }
    csv += L"\r\n";
  }
  return Utf8FromWide(csv);
}
