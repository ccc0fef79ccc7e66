// Writing one of the wizard's text files whole, with the user told when it fails.
#include "generation/file_replacement.h"
#include "platform/platform.h"
#include "wizard/wizard_dialog.h"

Status WizardDialog::WriteWholeTextFile(const wchar_t* path, const std::vector<std::wstring>& lines,
                                        FileWriteStep* failedStep) {
  // The new content goes beside the old file and takes its place only once complete: a full disk
  // or a failed write never leaves a truncated file for the next reader.
  const Status rc =
      platform_.files.ReplaceWholeFile(path, WindowsTextFile(lines.data(), lines.size()), failedStep);
  if (rc != status::Success) ReportFailure(FileReplacementFailure(*failedStep, path, rc));
  return rc;
}
