// The wizard window's part played without a window: entries held in memory, boxes written to the console.
#include "cli/console_wizard_view.h"

#include "cli/cli_output.h"
#include "wizard/shown_path.h"

std::wstring ConsoleWizardView::EntryText(int controlId) {
  const auto it = entries_.find(controlId);
  return it == entries_.end() ? std::wstring() : it->second;
}

void ConsoleWizardView::ShowMessage(const std::wstring& text, const std::wstring& caption) {
  captions_.push_back(caption);
  if (caption.empty()) {
    output_.ShowProblem(text);
    return;
  }
  output_.Show(caption);
  output_.Show(text);
}

bool ConsoleWizardView::AskYesNo(const std::wstring& text, const std::wstring& caption, Answer /*preselected*/) {
  ShowMessage(text, caption);
  // The answer is the run's own, not the wizard's: it goes to the log as well.
  output_.Say(answerYes_ ? L"Answered Yes (force)." : L"Answered No.");
  return answerYes_;
}

std::wstring ConsoleWizardView::ShownPath(const std::wstring& path) { return ::ShownPath(files_, path); }
