// Test doubles that observe without deciding: a window view, a log and an owner-less box that record.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "log/install_log.h"
#include "nodes/ownerless_message_box.h"
#include "wizard/wizard_view.h"

struct ShownBox {
  std::wstring text;
  std::wstring caption;
  bool operator==(const ShownBox&) const = default;
};

// A view with the template's initial state: every button enabled, items "1" and "3", nothing chosen.
class RecordingView : public WizardView {
 public:
  std::wstring EntryText(int controlId) override { return entries[controlId]; }
  void SetEntryText(int controlId, const std::wstring& text) override { entries[controlId] = text; }
  void SetEntryLimit(int controlId, int maxChars) override { limits[controlId] = maxChars; }
  void FocusEntry(int controlId) override { focusedEntry = controlId; }
  std::vector<std::wstring> BoardCountItems() override { return boardItems; }
  int BoardCountSelection() override { return boardSelection; }
  void SetBoardCountSelection(int index) override { boardSelection = index; }
  void EnableButton(int controlId, bool enabled) override { buttonEnabled[controlId] = enabled; }
  void SetListColumns(const std::vector<std::wstring>& headers, int columnWidthPixels) override;
  void AppendListRow(const std::wstring& label) override;
  void SetListCell(int row, int column, const std::wstring& text) override;
  void RemoveAllListRows() override { rows.clear(); }
  void ShowMessage(const std::wstring& text, const std::wstring& caption) override;
  bool AskYesNo(const std::wstring& text, const std::wstring& caption, Answer preselected) override;
  void EndModal(int result) override { endedWith.push_back(result); }
  void SetBusy(bool busy) override { busyChanges.push_back(busy); }
  void RepaintWhileBusy() override { ++repaintsWhileBusy; }

  bool IsEnabled(int controlId) const;

  // The button each question had preselected, in the order asked.
  std::vector<Answer> preselectedAnswers;
  std::map<int, std::wstring> entries;
  std::map<int, int> limits;
  int focusedEntry = 0;
  std::vector<std::wstring> boardItems = {L"1", L"3"};
  int boardSelection = -1;
  std::map<int, bool> buttonEnabled;
  std::vector<std::wstring> columnHeaders;
  int columnWidth = 0;
  std::vector<std::vector<std::wstring>> rows;  // three cells each
  std::vector<ShownBox> boxes;                  // message boxes and questions, in order
  std::deque<bool> answers;                     // answers to give to questions, in order
  std::vector<int> endedWith;
  std::vector<bool> busyChanges;
  int repaintsWhileBusy = 0;
};

struct LoggedLine {
  std::wstring message;
  LogClass messageClass;
  bool operator==(const LoggedLine&) const = default;
};

class RecordingLog : public InstallLog {
 public:
  void Write(const std::wstring& message, LogClass messageClass) override { lines.push_back({message, messageClass}); }
  std::vector<std::wstring> Messages() const;
  std::vector<LoggedLine> lines;
};

class RecordingOwnerlessBox : public OwnerlessMessageBox {
 public:
  void Show(const std::wstring& text) override {
    texts.push_back(text);
    // What the user does while the box is up: the window under it is still enabled.
    if (whileShown) whileShown();
  }
  std::vector<std::wstring> texts;
  std::function<void()> whileShown;
};
