// The wizard window as a scenario script sees it: entries, drop-down, buttons and list held in memory,
// boxes and questions written to the transcript.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "scenario/transcript.h"
#include "wizard/wizard_controls.h"
#include "wizard/wizard_view.h"

// The caption Windows gives a box whose caption is empty: the program's file name.
inline constexpr char kApplicationTitle[] = "DuplexSetupAssistant";

// Starts as the template does: every button enabled, the items "1" and "3", nothing chosen.
class ScriptedView : public QuietWizardView {
 public:
  // Questions take their answers from the front of `answers`.
  ScriptedView(Transcript& transcript, std::deque<bool>& answers) : transcript_(transcript), answers_(answers) {}

  std::wstring EntryText(int controlId) override;
  void SetEntryText(int controlId, const std::wstring& text) override { entries_[controlId] = text; }
  void SetEntryLimit(int controlId, int maxChars) override { limits_[controlId] = maxChars; }
  std::vector<std::wstring> BoardCountItems() override { return boardItems_; }
  int BoardCountSelection() override { return boardSelection_; }
  void SetBoardCountSelection(int index) override;
  void EnableButton(int controlId, bool enabled) override { enabled_[controlId] = enabled; }
  void SetListColumns(const std::vector<std::wstring>& headers, int columnWidthPixels) override;
  void AppendListRow(const std::wstring& label) override;
  void SetListCell(int row, int column, const std::wstring& text) override;
  void RemoveAllListRows() override { rows_.clear(); }
  void ShowMessage(const std::wstring& text, const std::wstring& caption) override;
  bool AskYesNo(const std::wstring& text, const std::wstring& caption, Answer preselected) override;
  void EndModal(int result) override { result_ = result; }

  // What the user does: replaces the entry's text as typing over a selection would, with the
  // entry's style applied to each character and its limit refusing the ones beyond it.
  void Type(const WizardControl& entry, const std::wstring& text);
  // False when there is no such item.
  bool Choose(const std::wstring& item);

  bool IsEnabled(int controlId) const;
  bool Ended() const { return result_ != 0; }
  int Result() const { return result_; }
  // A question came with no answer queued (it was answered No, to go on).
  bool MissedAnswer() const { return missedAnswer_; }

  // The window's state as text, two-space indented lines for the transcript.
  std::vector<std::string> ListLines() const;
  std::vector<std::string> EntryLines() const;
  std::string ButtonLine() const;

 private:
  Transcript& transcript_;
  std::deque<bool>& answers_;
  std::map<int, std::wstring> entries_;
  std::map<int, int> limits_;
  std::vector<std::wstring> boardItems_ = {L"1", L"3"};
  int boardSelection_ = -1;
  std::map<int, bool> enabled_;  // a button never set is enabled, as in the template
  std::vector<std::wstring> headers_;
  std::vector<std::vector<std::wstring>> rows_;  // one cell per column
  int result_ = 0;
  bool missedAnswer_ = false;
};
