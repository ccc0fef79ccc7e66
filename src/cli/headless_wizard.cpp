// The wizard's logic driven without a window: the dialog, the console playing its view, both servers read at once.
#include "cli/headless_wizard.h"

#include <string_view>

#include "common/text_format.h"
#include "platform/platform.h"
#include "wizard/wizard_controls.h"

HeadlessWizard::HeadlessWizard(Platform& platform, InstallLog& log, CliOutput& output, bool answerYes)
    : output_(output),
      view_(output, platform.files, answerYes),
      box_(output),
      dialog_(platform, log, view_, box_),
      reader_(platform, output, log, dialog_) {
  dialog_.SetNodeReader(&reader_);
}

bool HeadlessWizard::Enter(const Entries& entries) {
  static_cast<Entries&>(dialog_) = entries;
  int controlId = 0;
  if (const std::wstring refused = dialog_.RefusedEntry(&controlId); !refused.empty()) {
    const std::string_view label = ControlLabel(controlId);
    output_.Problem(FormatText(L"%s: %s", {std::wstring(label.begin(), label.end()), refused}));
    return false;
  }
  // Each step reads them back first, as the window's steps do.
  dialog_.UpdateData(false);
  return true;
}
