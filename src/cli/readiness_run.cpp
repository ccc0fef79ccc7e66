// The readiness checks as a run without a window makes them: each finding printed and logged, the report saved.
#include "cli/readiness_run.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "app/install_log.h"
#include "cli/cli_context.h"
#include "cli/cli_output.h"
#include "common/text_format.h"
#include "platform/platform.h"
#include "report/readiness_report.h"
#include "validation/readiness_box.h"
#include "validation/readiness_checks.h"

namespace fs = std::filesystem;

namespace {
bool WriteHostFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}
}  // namespace

ReadinessRun RunReadiness(const Entries& entries, const NodeRecord& node1, const NodeRecord& node2, int step,
                          const std::vector<std::wstring>& validationLines, const std::wstring& folder,
                          CliContext& context, CliOutput& output) {
  ReadinessRun run;
  run.findings = RunReadinessChecks(entries, node1, node2);
  run.counts = CountFindings(run.findings);
  for (const Finding& finding : run.findings) {
    const std::wstring line = ReadinessFindingLine(finding);
    context.log->Write(line, finding.severity == Severity::Fail ? LogClass::LogError : LogClass::LogInfo);
    output.Show(line);
  }

  ReportInput input;
  input.run.time = context.now();
  context.platform->machine.QueryComputerName(&input.run.computer);
  input.run.version = L"1.0";
  input.run.edition = context.edition;
  input.run.stage = entries.WizardStage == kStage2 ? 2 : 1;
  input.run.step = step;
  input.entries = entries;
  input.node1 = node1;
  input.node2 = node2;
  input.validationPassed = validationLines.empty();
  input.validationLines = validationLines;
  input.findings = run.findings;

  // Two runs within a second (a check, then a generate) each keep their own report.
  const std::wstring name = ReportFileBaseName(input.run.time);
  fs::path base = fs::path(folder) / fs::path(name);
  std::error_code error;
  for (int copy = 2; fs::exists(fs::path(base).concat(".html"), error) && copy < 100; ++copy) {
    base = fs::path(folder) / fs::path(name + L"-" + std::to_wstring(copy));
  }
  const fs::path html = fs::path(base).concat(".html");
  fs::create_directories(folder, error);
  if (error || !WriteHostFile(html, ReportHtml(input)) ||
      !WriteHostFile(fs::path(base).concat(".json"), ReportJson(input))) {
    // The findings stand without the report; the run goes on, as the window's step does.
    output.Problem(FormatText(L"Unable to write the readiness report %s.", {html.wstring()}));
    return run;
  }
  run.reportPath = html.wstring();
  output.Say(FormatText(L"The report was saved to %s.", {run.reportPath}));
  return run;
}
