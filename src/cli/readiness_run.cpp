// The readiness checks as check runs them: every finding printed and logged, the report saved.
#include "cli/readiness_run.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "app/install_log.h"
#include "cli/cli_context.h"
#include "cli/cli_output.h"
#include "common/program_info.h"
#include "common/text_format.h"
#include "platform/platform.h"
#include "report/readiness_report.h"
#include "validation/readiness_box.h"
#include "validation/readiness_checks.h"
#include "wizard/link_probes.h"
#include "wizard/readiness_report_file.h"

namespace fs = std::filesystem;

namespace {
bool WriteHostFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

// The report in a folder the person named, on this computer; the HTML file's path, or empty.
std::wstring SaveReportIn(const std::wstring& folder, const ReportInput& input, InstallLog& log) {
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
}  // namespace

ReadinessRun RunReadiness(const Entries& entries, const NodeRecord& node1, const NodeRecord& node2,
                          const std::vector<std::wstring>& validationLines, const std::wstring& folder, bool noProbes,
                          CliContext& context, CliOutput& output) {
  Platform& platform = *context.platform;
  ReadinessRun run;
  run.findings = RunReadinessChecks(entries, node1, node2);
  const LinkProbeResults links = ProbeLinks(platform, *context.log, entries, node1, node2, noProbes, {}, run.findings);
  run.counts = CountFindings(run.findings);
  for (const Finding& finding : run.findings) {
    const std::wstring line = ReadinessFindingLine(finding);
    switch (finding.severity) {
      case Severity::Fail: context.log->Error(line); break;
      case Severity::Warn: context.log->Warning(line); break;
      case Severity::Info: context.log->Info(line); break;
    }
    output.Show(line);
  }

  ReportInput input;
  input.run.time = platform.machine.LocalTime();
  platform.machine.QueryComputerName(&input.run.computer);
  input.run.version = ProgramVersion();
  input.run.edition = ProgramEdition();
  input.run.stage = entries.WizardStage == kStage2 ? 2 : 1;
  input.run.step = 2;
  input.entries = entries;
  input.node1 = node1;
  input.node2 = node2;
  input.validationPassed = validationLines.empty();
  input.validationLines = validationLines;
  input.findings = run.findings;
  input.links = links;

  run.reportPath =
      folder.empty() ? SaveReadinessReport(platform, *context.log, input) : SaveReportIn(folder, input, *context.log);
  if (run.reportPath.empty()) {
    output.Problem(L"The readiness report could not be saved (the install log says why).");
  } else {
    output.Say(FormatText(L"The report was saved to %s.", {run.reportPath}));
  }
  return run;
}
