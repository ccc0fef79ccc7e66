// Where the cluster readiness report is kept, and saving it there through the platform's files.
#pragma once

#include <string>

#include "report/readiness_report.h"

class FileSystem;
class InstallLog;
struct Platform;

// A report saved, or why not.
struct SavedReport {
  std::wstring htmlPath;  // the HTML file's path; empty when the report could not be saved
  std::wstring problem;   // why not, as the install log has it
};

// Saves the report's JSON and HTML files in `folder` of `files`, each missing folder made on the
// way, as new files named by the run's time ("readiness-20261208-143005", then "-2", "-3" ...
// when a name is taken): a report never replaces anything, nor writes through a link, and a name
// holds nothing but a complete file. Logs where, or why not (an error that never stops the step).
SavedReport SaveReadinessReportIn(FileSystem& files, const std::wstring& folder, InstallLog& log,
                                  const ReportInput& input);

// The same in %ProgramData%\Zandor\Reports of the platform, where the window keeps its reports.
SavedReport SaveReadinessReport(Platform& platform, InstallLog& log, const ReportInput& input);

// "The report was saved to <shownPath>." or "The readiness report could not be saved: <why>":
// the line the readiness box and the command line show (`shownPath`: the path as they name it).
std::wstring SavedReportLine(const SavedReport& saved, const std::wstring& shownPath);
