// The fleet's summary a support team opens in any browser: one self-contained HTML page, worst first.
#include <string>

#include "common/text_encoding.h"
#include "common/text_format.h"
#include "report/fleet_summary.h"
#include "report/html_text.h"
#include "report/readiness_report.h"

namespace {

// As the readiness report's page: no script and nothing fetched, so that it opens from a mail as is.
constexpr wchar_t kStyle[] =
    L"thead th{background:#ececec}"
    L"td.n{text-align:right}"
    L".counts span{display:inline-block;padding:6px 14px;margin-right:8px;border-radius:4px;font-weight:bold}"
    L".unread{background:#5c1a14;color:#fff}"
    L".fail{background:#fde2e1;color:#8a1c14}"
    L".warn{background:#fff1c9;color:#6b4d00}"
    L".ok{background:#e2f5e4;color:#1d5e27}"
    L"td.status{font-weight:bold;white-space:nowrap}"
    L"td.file{font-family:Consolas,\"DejaVu Sans Mono\",monospace;font-size:12px}"
    L"p.note{color:#555;font-size:12px}";

const wchar_t* StatusClass(FleetStatus status) {
  switch (status) {
    case FleetStatus::NotRead:
    case FleetStatus::Invalid: return L"unread";
    case FleetStatus::Fail: return L"fail";
    case FleetStatus::Warn: return L"warn";
    case FleetStatus::Clean: return L"ok";
  }
  return L"";
}

std::wstring Cell(const std::wstring& text, const std::wstring& cssClass = L"") {
  return (cssClass.empty() ? std::wstring(L"<td>") : FormatText(L"<td class=\"%s\">", {cssClass})) + HtmlEscaped(text) +
         L"</td>";
}

std::wstring NumberCell(int number) { return FormatText(L"<td class=\"n\">%d</td>", {number}); }

std::wstring StatusCounts(const FleetSummary& summary) {
  constexpr FleetStatus kStatuses[] = {FleetStatus::NotRead, FleetStatus::Invalid, FleetStatus::Fail, FleetStatus::Warn,
                                       FleetStatus::Clean};
  std::wstring html = L"<p class=\"counts\">";
  for (const FleetStatus status : kStatuses) {
    html += FormatText(L"<span class=\"%s\">%d %s</span>",
                       {StatusClass(status), CountRows(summary, status), FleetStatusName(status)});
  }
  return html + L"</p>\n";
}

std::wstring ReportRows(const FleetSummary& summary) {
  std::wstring html =
      L"<table>\n<thead><tr><th>Status</th><th>Site</th><th>Nodes</th><th>Time</th><th>Stage</th><th>Step</th>"
      L"<th>FAIL</th><th>WARN</th><th>INFO</th><th>First FAIL, or why the report was not read</th>"
      L"<th>Report</th></tr></thead>\n<tbody>\n";
  for (const FleetRow& row : summary.rows) {
    html += L"<tr>" + Cell(FleetStatusName(row.status), L"status " + std::wstring(StatusClass(row.status))) +
            Cell(row.site) + Cell(row.nodes) + Cell(row.time);
    html += row.Read() ? NumberCell(row.stage) + NumberCell(row.step) + NumberCell(row.counts.fail) +
                             NumberCell(row.counts.warn) + NumberCell(row.counts.info)
                       : std::wstring(L"<td></td><td></td><td></td><td></td><td></td>");
    html += Cell(row.message) + Cell(row.file, L"file") + L"</tr>\n";
  }
  return html + L"</tbody>\n</table>\n";
}

std::wstring CheckRows(const FleetSummary& summary) {
  if (summary.checks.empty()) return L"<p>No report holds a finding.</p>\n";
  std::wstring html =
      L"<table>\n<thead><tr><th>Check</th><th>FAIL</th><th>WARN</th><th>INFO</th><th>Reports</th></tr></thead>\n"
      L"<tbody>\n";
  for (const FleetCheckCount& check : summary.checks) {
    html += L"<tr>" + Cell(check.id + L" " + check.check) + NumberCell(check.counts.fail) +
            NumberCell(check.counts.warn) + NumberCell(check.counts.info) + NumberCell(check.reports) + L"</tr>\n";
  }
  return html + L"</tbody>\n</table>\n";
}

}  // namespace

std::string FleetSummaryHtml(const FleetSummary& summary, const std::vector<std::wstring>& folders,
                             const LocalDateTime& time) {
  std::wstring folderList;
  for (const std::wstring& folder : folders) folderList += (folderList.empty() ? L"" : L", ") + folder;
  std::wstring html = L"<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
  html += HtmlEscaped(
      FormatText(L"Fleet readiness: %d reports, %s", {static_cast<int>(summary.rows.size()), ReportTimeText(time)}));
  html += L"</title>\n<style>" + std::wstring(kReportPageBaseStyle) + kStyle;
  html += L"</style>\n</head>\n<body>\n<h1>Fleet readiness</h1>\n";
  html += L"<p>" +
          HtmlEscaped(FormatText(L"%d reports under %s, summarized %s.",
                                 {static_cast<int>(summary.rows.size()), folderList, ReportTimeText(time)})) +
          L"</p>\n";
  html += StatusCounts(summary);
  html += L"<h2>Reports, worst first</h2>\n" + ReportRows(summary);
  html += L"<h2>Findings per check over the fleet</h2>\n" + CheckRows(summary);
  html +=
      L"<p class=\"note\">Written by DuplexSetupAssistant summarize. The same rows for spreadsheets are in the .csv "
      L"file beside this one; each report's own page is the .html file beside its .json.</p>\n</body>\n</html>\n";
  return Utf8FromWide(html);
}
