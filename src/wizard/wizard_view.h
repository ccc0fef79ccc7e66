// What the window's logic needs from a window: small setters and getters, nothing decided here.
#pragma once

#include <string>
#include <vector>

// Results a modal run can end with (the dialog toolkit's IDOK and IDCANCEL).
constexpr int kDialogResultOk = 1;
constexpr int kDialogResultCancel = 2;

// A question's two answers.
enum class Answer { Yes, No };

class WizardView {
 public:
  virtual ~WizardView() = default;

  virtual std::wstring EntryText(int controlId) = 0;
  virtual void SetEntryText(int controlId, const std::wstring& text) = 0;
  virtual void SetEntryLimit(int controlId, int maxChars) = 0;
  // Puts the focus on the entry and selects its text, as a failed read does.
  virtual void FocusEntry(int controlId) = 0;

  // The board-count drop-down: its items in list order, and the chosen index (-1: none).
  virtual std::vector<std::wstring> BoardCountItems() = 0;
  virtual int BoardCountSelection() = 0;
  virtual void SetBoardCountSelection(int index) = 0;

  virtual void EnableButton(int controlId, bool enabled) = 0;

  // Widths are pixels of a 96-DPI display; a binding scales them to its window's resolution.
  virtual void SetListColumns(const std::vector<std::wstring>& headers, int columnWidthPixels) = 0;
  virtual void AppendListRow(const std::wstring& label) = 0;
  virtual void SetListCell(int row, int column, const std::wstring& text) = 0;
  virtual void RemoveAllListRows() = 0;

  // A modal box with an OK button and no icon; an empty caption means the application title.
  virtual void ShowMessage(const std::wstring& text, const std::wstring& caption) = 0;
  // A modal Yes/No box with no icon, `preselected` the button Enter presses; true for Yes.
  virtual bool AskYesNo(const std::wstring& text, const std::wstring& caption, Answer preselected) = 0;

  // How a box names a file or folder of the system (a Windows path): as it is, unless the window
  // is the lab edition's, which adds where the lab keeps it on this computer.
  virtual std::wstring ShownPath(const std::wstring& path) { return path; }

  // Ends the window's modal run with `result`.
  virtual void EndModal(int result) = 0;
  // Shows that the window is busy (the wait cursor) while a long step runs.
  virtual void SetBusy(bool busy) = 0;
  // Lets the window repaint and answer the system while a step waits on something outside it;
  // the user's clicks and keys meanwhile are dropped, so that nothing starts inside the wait.
  virtual void RepaintWhileBusy() = 0;
};
