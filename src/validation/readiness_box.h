// The readiness findings as the window shows and logs them: one line each, and the box that gathers them.
#pragma once

#include <string>
#include <vector>

#include "validation/readiness_finding.h"

inline constexpr wchar_t kReadinessCaption[] = L"Cluster Readiness";
// The question a box with a FAIL finding ends with, in Step 2 and in Step 3.
inline constexpr wchar_t kSaveAnswersAnyway[] = L"Save the answers anyway?";
inline constexpr wchar_t kGenerateDefinitionAnyway[] = L"Generate the definition file anyway?";

// "[FAIL] R07 HB1/HB2: <message>"; a finding about no link reads "[FAIL] R05: <message>".
// The box line and the log line are this same text.
std::wstring ReadinessFindingLine(const Finding& finding);

bool HasFailFinding(const std::vector<Finding>& findings);
// A FAIL or WARN finding: the box is shown. INFO findings are only logged and reported.
bool NeedsReadinessBox(const std::vector<Finding>& findings);

// The box: a line per FAIL and WARN finding in the given order, then `reportLine` (where the
// report was saved, or why it could not be), then, when a finding is FAIL, `question` (No is
// the box's default). Lines end with CR LF. Empty when no finding needs the box.
std::wstring ReadinessBoxText(const std::vector<Finding>& findings, const std::wstring& reportLine,
                              const std::wstring& question);
