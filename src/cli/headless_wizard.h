// The wizard's logic driven without a window: the dialog, the console playing its view, both servers read at once.
#pragma once

#include "cli/cli_output.h"
#include "cli/console_wizard_view.h"
#include "cli/server_reading.h"
#include "common/entries.h"
#include "nodes/ownerless_message_box.h"
#include "wizard/wizard_dialog.h"

class HeadlessWizard {
 public:
  // Questions are answered with `answerYes`.
  HeadlessWizard(Platform& platform, InstallLog& log, CliOutput& output, bool answerYes);

  // Shows the entries as the window would, for the steps to read back: the host and user names
  // lowered, the board count chosen from the list's items. False when the window's field exchange
  // refuses one (an AutoStart domain longer than its entry takes, a board count that is none of
  // the list's items): said on standard error and logged, with the entry named, for the run to stop
  // there as the window's Step 1 stops at its prompt.
  [[nodiscard]] bool Enter(const Entries& entries);

  WizardDialog& dialog() { return dialog_; }
  ConsoleWizardView& view() { return view_; }

 private:
  // The dialog's own records never show a box here (the reader's do), but they need one to hand.
  class ProblemBox : public OwnerlessMessageBox {
   public:
    explicit ProblemBox(CliOutput& output) : output_(output) {}
    void Show(const std::wstring& text) override { output_.Problem(text); }

   private:
    CliOutput& output_;
  };

  CliOutput& output_;
  ConsoleWizardView view_;
  ProblemBox box_;
  WizardDialog dialog_;
  SideBySideNodeReader reader_;
};
