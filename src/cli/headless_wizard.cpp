// The wizard's logic driven without a window: the dialog, the console playing its view, both servers read at once.
#include "cli/headless_wizard.h"

HeadlessWizard::HeadlessWizard(Platform& platform, InstallLog& log, CliOutput& output, bool answerYes)
    : view_(output, answerYes),
      box_(output),
      dialog_(platform, log, view_, box_),
      reader_(platform, output, log, box_) {
  dialog_.SetNodeReader(&reader_);
}

void HeadlessWizard::Enter(const Entries& entries) {
  static_cast<Entries&>(dialog_) = entries;
  // Each step reads them back first, as the window's steps do.
  dialog_.UpdateData(false);
}
