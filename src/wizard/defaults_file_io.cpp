// The defaults file read at opening and written by Step 2.
#include <string>
#include <vector>

#include "log/install_log.h"
#include "common/text_format.h"
#include "generation/defaults_file.h"
#include "generation/paths.h"
#include "platform/platform.h"
#include "wizard/wizard_dialog.h"

Status WizardDialog::LoadDefaults() {
  std::string bytes;
  if (platform_.files.ReadWholeFile(kDefaultsFilePath, &bytes) != status::Success) return status::FileNotFound;
  ReadDefaultsFile(bytes, *this);
  return status::Success;
}

Status WizardDialog::SaveDefaults() {
  // The host names as Step 1 last gathered them, not as the entries may read now.
  FileWriteStep failedStep = FileWriteStep::Open;
  const Status rc = WriteWholeTextFile(kDefaultsFilePath,
                                       DefaultsFileLines(*this, Node1Info.HostName, Node2Info.HostName), &failedStep);
  // A file that could not be opened is answered with 2 whatever the system said, as this call has
  // always answered; the message already shown carries the real code.
  if (rc != status::Success) return failedStep == FileWriteStep::Open ? status::FileNotFound : rc;
  log_.Info(FormatText(L"Default values saved to %s.", {kDefaultsFilePath}));
  return status::Success;
}
