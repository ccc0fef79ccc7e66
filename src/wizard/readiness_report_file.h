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
