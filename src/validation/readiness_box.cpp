// The readiness findings as the window shows and logs them: one line each, and the box that gathers them.
#include "validation/readiness_box.h"

#include <algorithm>

#include "common/text_format.h"

std::wstring ReadinessFindingLine(const Finding& finding) {
  std::wstring links;
  for (const Link link : finding.links) links += (links.empty() ? L"" : L"/") + std::wstring(LinkName(link));
  return FormatText(L"[%s] %s%s%s: %s",
                    {SeverityName(finding.severity), finding.id, links.empty() ? L"" : L" ", links, finding.message});
}

bool HasFailFinding(const std::vector<Finding>& findings) {
  return std::any_of(findings.begin(), findings.end(), [](const Finding& f) { return f.severity == Severity::Fail; });
}

bool NeedsReadinessBox(const std::vector<Finding>& findings) {
  return std::any_of(findings.begin(), findings.end(), [](const Finding& f) { return f.severity != Severity::Info; });
}

std::wstring ReadinessBoxText(const std::vector<Finding>& findings, const std::wstring& reportLine,
                              const std::wstring& question) {
  if (!NeedsReadinessBox(findings)) return {};
  std::wstring text;
  for (const Finding& finding : findings) {
    if (finding.severity != Severity::Info) text += ReadinessFindingLine(finding) + L"\r\n";
  }
  if (!reportLine.empty()) text += L"\r\n" + reportLine + L"\r\n";
  if (HasFailFinding(findings)) text += L"\r\n" + question + L"\r\n";
  // The box shows no trailing blank line.
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
  return text;
}
