// How Steps 2 and 3 tell the user: a validation report, a failure, a file that could not be written.
#include "app/install_log.h"
#include "generation/file_write_failure_message.h"
#include "generation/windows_text_file.h"
#include "platform/platform.h"
#include "wizard/wizard_dialog.h"
#include "wizard/wizard_view.h"

void WizardDialog::ShowValidationReport(const std::wstring& report) {
  constexpr wchar_t kReportCaption[] = L"Validation Errors Detected.";
  view_.ShowMessage(report, kReportCaption);
  log_.Error(kReportCaption);
  log_.Error(report);
}

void WizardDialog::ReportFailure(const std::wstring& message, const std::wstring& path) {
  log_.Error(message);
  // The log keeps the system's own line; the box names the file as its reader can find it.
  std::wstring shown = message;
  if (const std::size_t at = path.empty() ? std::wstring::npos : shown.find(path); at != std::wstring::npos) {
    shown.replace(at, path.size(), view_.ShownPath(path));
  }
  view_.ShowMessage(shown, L"");
}

Status WizardDialog::WriteWholeTextFile(const wchar_t* path, const std::vector<std::wstring>& lines,
                                        FileWriteStep* failedStep) {
  // The new content goes beside the old file and takes its place only once complete: a full disk
  // or a failed write never leaves a truncated file for the next reader.
  std::string bytes;
  Status rc = WindowsTextFile(lines, &bytes);
  if (rc != status::Success) {
    // Nothing is written: the old file stays as it was.
    *failedStep = FileWriteStep::Write;
  } else {
    rc = platform_.files.ReplaceWholeFile(path, bytes, failedStep);
  }
  if (rc != status::Success) ReportFailure(FileWriteFailureMessage(*failedStep, path, rc), path);
  return rc;
}
