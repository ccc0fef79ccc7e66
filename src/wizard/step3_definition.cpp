// Step 3: everything checked once more, the installer's input files written, the installer run,
// and the definition file it generates confirmed.
#include <cstdint>
#include <optional>

#include "app/install_log.h"
#include "common/text_format.h"
#include "generation/autostart_input_files.h"
#include "generation/installer_command_line.h"
#include "generation/paths.h"
#include "platform/platform.h"
#include "validation/cross_node_report.h"
#include "validation/readiness_box.h"
#include "wizard/busy_scope.h"
#include "wizard/handler_guard.h"
#include "wizard/wizard_dialog.h"
#include "wizard/wizard_view.h"

namespace {
// The longest the wizard waits for the installer to end before it says the installer is still
// running, and how often the window is repainted meanwhile.
constexpr std::uint64_t kInstallerWaitBoundMs = 5 * 60 * 1000;
constexpr std::uint32_t kInstallerWaitSliceMs = 100;

// The stamp of a file, or nothing when it is not there.
std::optional<FileStamp> StampIfPresent(FileSystem& files, const std::wstring& path) {
  FileStamp stamp;
  if (files.QueryFileStamp(path, &stamp) != status::Success) return std::nullopt;
  return stamp;
}
}  // namespace

void WizardDialog::OnStep3() {
  const HandlerGuard guard(handlerRunning_);
  if (!guard.Entered()) return;
  const BusyScope busy(view_);
  GenerateDefinition();
}

DefinitionOutcome WizardDialog::GenerateDefinition() {
  if (CollectNodeInformation() != status::Success) return DefinitionOutcome::NotCollected;
  if (ValidateNodeInformation() != status::Success) return DefinitionOutcome::NotValidated;

  // The product is installed for a domain when its domain folder holds a readable manifest.
  const std::wstring domainDirectory = std::wstring(kAutoStartInstallDirectory) + L"\\" + AutoStartDomain;
  if (platform_.files.CheckReadable(domainDirectory + L"\\manifest") != status::Success) {
    // Logged as information, like the entry rules' messages: it asks the user to correct what was typed.
    const std::wstring message = FormatText(
        L"Based on the AutoStart domain name %s, the directory where the AutoStart software should be installed in "
        L"is %s, however this directory does not exist. Please confirm that the supplied AutoStart domain name is  "
        L"correct and that the AutoStart software is installed in the correct directory.",
        {AutoStartDomain, domainDirectory});
    log_.Info(message);
    view_.ShowMessage(message, L"");
    return DefinitionOutcome::ProductMissing;
  }

  // Whatever the window's stage, the installer runs only with every service of both nodes running.
  if (const auto lines = ServicesNotRunningLines(*this, Node1Info, Node2Info); !lines.empty()) {
    ShowValidationReport(JoinReportLines(lines));
    return DefinitionOutcome::ServicesNotRunning;
  }
  log_.Info(L"No validation errors detected.");
  // Nothing is written unless the cluster can work as configured, or the user says to go on (a run
  // without a window answers with its force option).
  if (!CheckClusterReadiness(3, kGenerateDefinitionAnyway)) return DefinitionOutcome::Refused;

  if (WriteAutoStartIni() != status::Success) return DefinitionOutcome::FileNotWritten;
  if (WritePerlInputFile() != status::Success) return DefinitionOutcome::FileNotWritten;

  const std::wstring definitionName = DefinitionName(BoardCount);
  if (definitionName.empty()) {
    ReportFailure(
        FormatText(L"The number of TMX48 boards specified, %s, is invalid. It must be either 1 or 3.", {BoardCount}));
    return DefinitionOutcome::InstallerNotRun;
  }
  return RunInstaller(InstallerCommandLine(BoardCount, AutoStartDomain), DefinitionFilePath(definitionName));
}

Status WizardDialog::WriteAutoStartIni() {
  FileWriteStep failedStep = FileWriteStep::Open;
  const Status rc = WriteWholeTextFile(kAutoStartIniPath, AutoStartIniLines(*this), &failedStep);
  if (rc == status::Success) log_.Info(FormatText(L"INI file %s updated.", {kAutoStartIniPath}));
  return rc;
}

Status WizardDialog::WritePerlInputFile() {
  FileWriteStep failedStep = FileWriteStep::Open;
  const Status rc = WriteWholeTextFile(kPerlInputFilePath, PerlInputLines(*this, Node1Info, Node2Info), &failedStep);
  if (rc == status::Success) log_.Info(FormatText(L"Perl input file %s updated.", {kPerlInputFilePath}));
  return rc;
}

DefinitionOutcome WizardDialog::RunInstaller(const std::wstring& commandLine, const std::wstring& definitionFile) {
  log_.Info(FormatText(L"Executing command %s in directory %s", {commandLine, kToolkitDirectory}));
  // A definition file left by an earlier run must not pass for this run's: only a file that
  // changed after the installer was started counts.
  const std::optional<FileStamp> earlierDefinition = StampIfPresent(platform_.files, definitionFile);

  std::unique_ptr<StartedProcess> installer;
  if (platform_.processes.Start(commandLine, kToolkitDirectory, &installer) != status::Success) {
    // Nothing ran, so there is nothing to wait for and nothing this run could have generated.
    ReportFailure(FormatText(L"Unable to execute %s in directory %s", {commandLine, kToolkitDirectory}));
    return DefinitionOutcome::InstallerNotRun;
  }
  if (!WaitForInstaller(*installer)) {
    ReportFailure(FormatText(
        L"The installer is still running after %ld minutes, so the definition file %s could not be confirmed. Let "
        L"the installer finish (its window is minimised), then run Step 3 again.",
        {static_cast<long>(kInstallerWaitBoundMs / 60000), definitionFile}));
    return DefinitionOutcome::NotConfirmed;
  }

  if (const Status rc = platform_.files.CheckReadable(definitionFile); rc != status::Success) {
    ReportFailure(FormatText(L"Unable to open the generated definition file %s. rc = %ld", {definitionFile, rc}),
                  definitionFile);
    return DefinitionOutcome::NotConfirmed;
  }
  const std::optional<FileStamp> definitionNow = StampIfPresent(platform_.files, definitionFile);
  if (earlierDefinition && (!definitionNow || *definitionNow == *earlierDefinition)) {
    ReportFailure(
        FormatText(L"The installer did not generate the definition file %s: the file there was left by an earlier run.",
                   {definitionFile}),
        definitionFile);
    return DefinitionOutcome::NotConfirmed;
  }

  constexpr wchar_t kComplete[] =
      L"The definition file has been successfully generated. The definition file will be imported into the EMC "
      L"AutoStart Console later in the configuration process.\r\n\r\nYou must now exit the wizard and continue with "
      L"the installation/upgrade process.";
  log_.Info(kComplete);
  view_.ShowMessage(kComplete, L"Phase 2 Complete");
  return DefinitionOutcome::Confirmed;
}

bool WizardDialog::WaitForInstaller(StartedProcess& installer) {
  // The window keeps painting and shows the wait cursor meanwhile; the wait is measured by the
  // platform's clock, so a slow installer in the lab costs no real time.
  const std::uint64_t start = platform_.machine.NowMilliseconds();
  for (;;) {
    if (installer.WaitForEnd(kInstallerWaitSliceMs)) return true;
    view_.RepaintWhileBusy();
    if (platform_.machine.NowMilliseconds() - start >= kInstallerWaitBoundMs) return false;
  }
}
