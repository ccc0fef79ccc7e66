// Where the cluster readiness report is kept on a server, and saving it there through the platform.
#include "wizard/readiness_report_file.h"

#include <utility>

#include "app/install_log.h"
#include "common/text_format.h"
#include "platform/platform.h"

namespace {
// Below %ProgramData%, each level made when missing (a lab's drive C may not even hold %ProgramData%).
constexpr const wchar_t* kReportsFolders[] = {L"", L"Zandor", L"Reports"};
}  // namespace

std::wstring SaveReadinessReport(Platform& platform, InstallLog& log, const ReportInput& input) {
  std::wstring folder;
  Status rc = platform.machine.QueryProgramDataFolder(&folder);
  if (rc != status::Success) {
    log.Error(FormatText(L"Unable to find the folder for the cluster readiness report. rc = %ld", {rc}));
    return {};
  }
  for (const wchar_t* level : kReportsFolders) {
    if (*level != L'\0') folder += std::wstring(L"\\") + level;
    rc = platform.files.CreateFolder(folder);
    if (rc != status::Success && rc != status::AlreadyExists) {
      log.Error(FormatText(L"Unable to save the cluster readiness report in %s. rc = %ld", {folder, rc}));
      return {};
    }
  }

  const std::wstring base = folder + L"\\" + ReportFileBaseName(input.run.time);
  for (const auto& [path, bytes] :
       {std::pair{base + L".json", ReportJson(input)}, std::pair{base + L".html", ReportHtml(input)}}) {
    FileWriteStep failedStep = FileWriteStep::Open;
    rc = platform.files.ReplaceWholeFile(path, bytes, &failedStep);
    if (rc != status::Success) {
      // A report is for later reading: its loss is logged and never stops the step.
      log.Error(FormatText(L"Unable to save the cluster readiness report %s. rc = %ld", {path, rc}));
      return {};
    }
  }
  log.Info(FormatText(L"Cluster readiness report saved to %s.html.", {base}));
  return base + L".html";
}
