// The defaults file that carries the entries and the stage from one run of the wizard to the next.
#include <cwchar>
#include <string>
#include <vector>

#include "app/install_log.h"
#include "common/text_format.h"
#include "generation/paths.h"
#include "generation/text_lines.h"
#include "platform/platform.h"
#include "wizard/wizard_dialog.h"
#include "wizard/wizard_view.h"

Status WizardDialog::LoadDefaults() {
  std::string bytes;
  if (platform_.files.ReadWholeFile(kDefaultsFilePath, &bytes) != status::Success) return status::FileNotFound;

  // One value per line, so that a blank inside a value or an empty value never shifts
  // the fields below it; a file cut short leaves the remaining fields as they were.
  const std::vector<std::wstring> lines = SplitTextLines(bytes);
  if (!lines.empty()) {
    long stage = 0;
    if (std::swscanf(lines[0].c_str(), L"%ld", &stage) == 1) WizardStage = static_cast<std::int32_t>(stage);
  }
  std::wstring* const fields[] = {&ManagedHostName, &ManagedClanIp, &ManagedElanIp, &Node1HostName,
                                  &Node2HostName,   &UserName,      &WorkgroupDomainName, &BoardCount,
                                  &AutoStartDomain, &ClanTestIp};
  for (std::size_t i = 0; i < std::size(fields) && i + 1 < lines.size(); ++i) *fields[i] = lines[i + 1];
  return status::Success;
}

Status WizardDialog::SaveDefaults() {
  // The host names as Step 1 last gathered them, not as the entries may read now.
  const std::wstring lines[] = {std::to_wstring(WizardStage), ManagedHostName,    ManagedClanIp,
                                ManagedElanIp,                Node1Info.HostName, Node2Info.HostName,
                                UserName,                     WorkgroupDomainName, BoardCount,
                                AutoStartDomain,              ClanTestIp};
  FileWriteStep failedStep = FileWriteStep::Open;
  const Status rc = WriteWholeTextFile(kDefaultsFilePath, {std::begin(lines), std::end(lines)}, &failedStep);
  if (rc != status::Success) return failedStep == FileWriteStep::Open ? status::FileNotFound : rc;
  log_.Info(FormatText(L"Default values saved to %s.", {kDefaultsFilePath}));
  return status::Success;
}
