// The wizard window as a scenario script sees it.
#include "scenario/scripted_view.h"

#include <algorithm>

namespace {
// An empty cell or entry is shown as "" so that no transcript line ends in blanks.
std::string Shown(const std::wstring& text) { return text.empty() ? std::string("\"\"") : VisibleText(text); }

std::string Caption(const std::wstring& caption) {
  return caption.empty() ? std::string(kApplicationTitle) : VisibleText(caption);
}
}  // namespace

std::wstring ScriptedView::EntryText(int controlId) {
  const auto it = entries_.find(controlId);
  return it == entries_.end() ? std::wstring() : it->second;
}

void ScriptedView::SetBoardCountSelection(int index) {
  boardSelection_ = index >= 0 && index < static_cast<int>(boardItems_.size()) ? index : -1;
}

void ScriptedView::SetListColumns(const std::vector<std::wstring>& headers, int /*columnWidthPixels*/) {
  headers_ = headers;
}

void ScriptedView::AppendListRow(const std::wstring& label) {
  std::vector<std::wstring> row(std::max<std::size_t>(headers_.size(), 1));
  row[0] = label;
  rows_.push_back(std::move(row));
}

void ScriptedView::SetListCell(int row, int column, const std::wstring& text) {
  // As a list view does, a cell outside the rows and columns is not set.
  if (row < 0 || row >= static_cast<int>(rows_.size())) return;
  std::vector<std::wstring>& cells = rows_[static_cast<std::size_t>(row)];
  if (column < 0 || column >= static_cast<int>(cells.size())) return;
  cells[static_cast<std::size_t>(column)] = text;
}

void ScriptedView::ShowMessage(const std::wstring& text, const std::wstring& caption) {
  transcript_.Add("box [" + Caption(caption) + "]: " + VisibleText(text));
}

bool ScriptedView::AskYesNo(const std::wstring& text, const std::wstring& caption, Answer /*preselected*/) {
  const std::string question = "question [" + Caption(caption) + "]: " + VisibleText(text) + " -> ";
  if (answers_.empty()) {
    missedAnswer_ = true;
    transcript_.Add(question + "(no answer given)");
    return false;
  }
  const bool yes = answers_.front();
  answers_.pop_front();
  transcript_.Add(question + (yes ? "yes" : "no"));
  return yes;
}

void ScriptedView::Type(const WizardControl& entry, const std::wstring& text) {
  std::wstring typed = AsEntryHolds(entry.id, text);
  const auto limit = limits_.find(entry.id);
  if (limit != limits_.end() && limit->second > 0 && typed.size() > static_cast<std::size_t>(limit->second)) {
    typed.resize(static_cast<std::size_t>(limit->second));
  }
  entries_[entry.id] = typed;
}

bool ScriptedView::Choose(const std::wstring& item) {
  if (item.empty()) {
    boardSelection_ = -1;
    return true;
  }
  const auto found = std::find(boardItems_.begin(), boardItems_.end(), item);
  if (found == boardItems_.end()) return false;
  boardSelection_ = static_cast<int>(found - boardItems_.begin());
  return true;
}

bool ScriptedView::IsEnabled(int controlId) const {
  const auto it = enabled_.find(controlId);
  return it == enabled_.end() || it->second;
}

std::vector<std::string> ScriptedView::ListLines() const {
  auto join = [](const std::vector<std::wstring>& cells) {
    std::string line = "  ";
    for (std::size_t i = 0; i < cells.size(); ++i) {
      if (i > 0) line += '\t';
      line += Shown(cells[i]);
    }
    return line;
  };
  std::vector<std::string> lines = {join(headers_)};
  for (const auto& row : rows_) lines.push_back(join(row));
  if (rows_.empty()) lines.push_back("  (no rows)");
  return lines;
}

std::vector<std::string> ScriptedView::EntryLines() const {
  std::vector<std::string> lines;
  for (const WizardControl& control : kWizardControls) {
    std::wstring text;
    if (control.kind == ControlKind::Entry) {
      const auto it = entries_.find(control.id);
      if (it != entries_.end()) text = it->second;
    } else if (control.kind == ControlKind::DropDown) {
      if (boardSelection_ >= 0) text = boardItems_[static_cast<std::size_t>(boardSelection_)];
    } else {
      continue;
    }
    lines.push_back("  " + std::string(control.name) + ": " + Shown(text));
  }
  return lines;
}

std::string ScriptedView::ButtonLine() const {
  std::string line = "  ";
  for (const char* name : {"step1", "step2", "step3"}) {
    if (line.size() > 2) line += ", ";
    line += std::string(name) + (IsEnabled(FindButtonControl(name)->id) ? " enabled" : " disabled");
  }
  return line;
}
