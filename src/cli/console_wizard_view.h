// The wizard window's part played without a window: entries held in memory, boxes written to the console.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "wizard/wizard_view.h"

class CliOutput;
class FileSystem;

// Starts as the window's template: the board-count items "1" and "3", nothing chosen. A box with a
// caption of its own (a report, a stage complete) goes to standard output, one without (the
// program's title: a prompt or a failure) to standard error; the steps have logged their texts
// already. A question is answered by `answerYes` and the answer written after it.
class ConsoleWizardView : public WizardView {
 public:
  ConsoleWizardView(CliOutput& output, FileSystem& files, bool answerYes)
      : output_(output), files_(files), answerYes_(answerYes) {}

  std::wstring EntryText(int controlId) override;
  void SetEntryText(int controlId, const std::wstring& text) override { entries_[controlId] = text; }
  void SetEntryLimit(int /*controlId*/, int /*maxChars*/) override {}
  void FocusEntry(int /*controlId*/) override {}
  std::vector<std::wstring> BoardCountItems() override { return {L"1", L"3"}; }
  int BoardCountSelection() override { return boardSelection_; }
  void SetBoardCountSelection(int index) override { boardSelection_ = index; }
  void EnableButton(int /*controlId*/, bool /*enabled*/) override {}
  void SetListColumns(const std::vector<std::wstring>& /*headers*/, int /*columnWidthPixels*/) override {}
  void AppendListRow(const std::wstring& /*label*/) override {}
  void SetListCell(int /*row*/, int /*column*/, const std::wstring& /*text*/) override {}
  void RemoveAllListRows() override {}
  void ShowMessage(const std::wstring& text, const std::wstring& caption) override;
  bool AskYesNo(const std::wstring& text, const std::wstring& caption, Answer preselected) override;
  // A lab's file is named by its place on this computer too.
  std::wstring ShownPath(const std::wstring& path) override;
  void EndModal(int /*result*/) override {}
  void SetBusy(bool /*busy*/) override {}
  void RepaintWhileBusy() override {}

  // The captions of the boxes shown so far, in order ("" for the program's title).
  const std::vector<std::wstring>& Captions() const { return captions_; }

 private:
  CliOutput& output_;
  FileSystem& files_;
  bool answerYes_;
  std::map<int, std::wstring> entries_;
  int boardSelection_ = -1;
  std::vector<std::wstring> captions_;
};
