// Where the cluster readiness report is kept on a server, and saving it there through the platform.
#pragma once

#include <string>

#include "report/readiness_report.h"

class InstallLog;
struct Platform;

// Saves the report's JSON and HTML files in %ProgramData%\Zandor\Reports of the platform (each
// missing folder made on the way), named by the run's time, and logs where. Returns the HTML
// file's path, or empty when the report could not be saved: that is logged as an error with its
// path and code, and never stops the step that made the report.
std::wstring SaveReadinessReport(Platform& platform, InstallLog& log, const ReportInput& input);

// Saves the report's two files in `folder` of this computer (made when missing), as `check report FOLDER` asks: a
// name that two runs within a second would share gets -2, -3 ... Logged as above; the HTML file's path, or empty.
std::wstring SaveReadinessReportIn(const std::wstring& folder, InstallLog& log, const ReportInput& input);
