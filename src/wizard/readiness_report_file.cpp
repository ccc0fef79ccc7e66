// Where the cluster readiness report is kept on a server, and saving it there through the platform.
#include "wizard/readiness_report_file.h"

#include <filesystem>
#include <fstream>
#include <system_error>
#include <utility>

#include "log/install_log.h"
#include "common/text_format.h"
#include "platform/platform.h"

namespace fs = std::filesystem;

namespace {
bool WriteHostFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

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

std::wstring SaveReadinessReportIn(const std::wstring& folder, InstallLog& log, const ReportInput& input) {
  // Two runs within a second each keep their own report.
  const std::wstring name = ReportFileBaseName(input.run.time);
  fs::path base = fs::path(folder) / fs::path(name);
  std::error_code error;
  for (int copy = 2; fs::exists(fs::path(base).concat(".html"), error) && copy < 100; ++copy) {
    base = fs::path(folder) / fs::path(name + L"-" + std::to_wstring(copy));
  }
  const fs::path html = fs::path(base).concat(".html");
  fs::create_directories(folder, error);
  if (error || !WriteHostFile(fs::path(base).concat(".json"), ReportJson(input)) ||
      !WriteHostFile(html, ReportHtml(input))) {
    log.Error(FormatText(L"Unable to save the cluster readiness report %s.", {html.wstring()}));
    return {};
  }
  log.Info(FormatText(L"Cluster readiness report saved to %s.", {html.wstring()}));
  return html.wstring();
}
