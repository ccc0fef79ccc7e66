// Reset, which forgets the saved answers and returns the window to stage 1, and Exit.
#include "log/install_log.h"
#include "common/text_format.h"
#include "generation/paths.h"
#include "platform/platform.h"
#include "resource.h"
#include "wizard/handler_guard.h"
#include "wizard/node_info_list.h"
#include "wizard/wizard_controls.h"
#include "wizard/wizard_dialog.h"
#include "wizard/wizard_view.h"

Status WizardDialog::DeleteDefaultsFile() {
  FileSystem& files = platform_.files;
  log_.Info(FormatText(L"Deleting the file %s.", {kDefaultsFilePath}));
  // A read-only file can't be deleted, so it is made normal first. No file at all is no failure.
  Status rc = files.SetNormalAttributes(kDefaultsFilePath);
  if (rc != status::Success && rc != status::FileNotFound) {
    const std::wstring message =
        FormatText(L"Unable to change the file attributes of %s to normal.", {kDefaultsFilePath});
    log_.Info(message);
    view_.ShowMessage(message, L"");
    return rc;
  }
  rc = files.RemoveFile(kDefaultsFilePath);
  if (rc != status::Success && rc != status::FileNotFound) {
    const std::wstring message = FormatText(L"Unable to delete the file %s.", {kDefaultsFilePath});
    log_.Info(message);
    view_.ShowMessage(message, L"");
    return rc;
  }
  return rc;
}

void WizardDialog::OnReset() {
  const HandlerGuard guard(handlerRunning_);
  if (!guard.Entered()) return;
  if (!view_.AskYesNo(L"Are you sure that you want to reset the tool?", L"Confirm Reset Request", Answer::Yes)) return;
  const Status rc = DeleteDefaultsFile();
  if (rc != status::Success && rc != status::FileNotFound) return;

  WizardStage = kStage1;
  EnableButtonsForStage();
  // Node 1 is this computer again, and the entry shows it; the other entries keep their text
  // so that Step 1 can be run again at once.
  Node1HostName = LocalComputerName(platform_.machine);
  view_.SetEntryText(IDC_NODE1_HOST_NAME, AsEntryHolds(IDC_NODE1_HOST_NAME, Node1HostName));
  RebuildNodeInfoList(view_);
}

void WizardDialog::OnExit() {
  const HandlerGuard guard(handlerRunning_);
  if (!guard.Entered()) return;
  if (!view_.AskYesNo(L"Are you sure that you want to exit?", L"Confirm Exit Request", Answer::Yes)) return;
  // Nothing is saved at exit; a read that fails (an over-long domain) keeps the window open.
  if (UpdateData(true)) view_.EndModal(kDialogResultOk);
}
