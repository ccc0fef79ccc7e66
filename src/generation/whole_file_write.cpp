// Writing one of the wizard's text files whole, with the user told when it fails.
#include "app/install_log.h"
#include "generation/file_replacement.h"
#include "platform/platform.h"
#include "wizard/wizard_dialog.h"
#include "wizard/wizard_view.h"

Status WizardDialog::WriteWholeTextFile(const wchar_t* path, const std::vector<std::wstring>& lines,
                                        FileWriteStep* failedStep) {
  // The new content goes beside the old file and takes its place only once complete: a full disk
  // or a failed write never leaves a truncated file for the next reader.
  const Status rc =
      platform_.files.ReplaceWholeFile(path, WindowsTextFile(lines.data(), lines.size()), failedStep);
  if (rc != status::Success) {
    const std::wstring message = FileReplacementFailure(*failedStep, path, rc);
    log_.Error(message);
    view_.ShowMessage(message, L"");
  }
  return rc;
}
