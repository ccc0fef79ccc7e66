// The wizard's logic driven without a window: the dialog, the console playing its view, both servers read at once.
#pragma once

#include "cli/cli_output.h"
#include "cli/console_wizard_view.h"
#include "cli/problem_box.h"
#include "cli/server_reading.h"
#include "common/entries.h"
#include "nodes/ownerless_message_box.h"
#include "wizard/wizard_dialog.h"

class HeadlessWizard {
 public:
  // Questions are answered with `answerYes`.
  HeadlessWizard(Platform& platform, InstallLog& log, CliOutput& output, bool answerYes);

  // Shows the entries as the window would, for the steps to read back: the host and user names
  // lowered, the board count chosen from the list's items.
  void Enter(const Entries& entries);

  WizardDialog& dialog() { return dialog_; }
  ConsoleWizardView& view() { return view_; }

 private:
  ConsoleWizardView view_;
  ProblemBox box_;
  WizardDialog dialog_;
  SideBySideNodeReader reader_;
};
