// Test doubles that observe without deciding.
#include "support/recording_view.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/wizard_on_lab.h"

void RecordingView::SetListColumns(const std::vector<std::wstring>& headers, int columnWidthPixels) {
  columnHeaders = headers;
  columnWidth = columnWidthPixels;
}

void RecordingView::AppendListRow(const std::wstring& label) { rows.push_back({label, L"", L""}); }

void RecordingView::SetListCell(int row, int column, const std::wstring& text) {
  // Writing past the rows the list has is a fault of the caller, as it would be in a real list.
  ASSERT_GE(row, 0);
  ASSERT_LT(row, static_cast<int>(rows.size()));
  ASSERT_GE(column, 0);
  ASSERT_LT(column, 3);
  rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = text;
}

void RecordingView::ShowMessage(const std::wstring& text, const std::wstring& caption) {
  boxes.push_back({text, caption});
}

bool RecordingView::AskYesNo(const std::wstring& text, const std::wstring& caption, Answer preselected) {
  boxes.push_back({text, caption});
  preselectedAnswers.push_back(preselected);
  if (answers.empty()) {
    ADD_FAILURE() << "a question was asked that the test did not expect";
    return false;
  }
  const bool answer = answers.front();
  answers.pop_front();
  return answer;
}

bool RecordingView::IsEnabled(int controlId) const {
  const auto it = buttonEnabled.find(controlId);
  return it == buttonEnabled.end() || it->second;
}

std::vector<std::wstring> RecordingLog::Messages() const {
  std::vector<std::wstring> messages;
  for (const auto& line : lines) messages.push_back(line.message);
  return messages;
}

std::unique_ptr<Lab> WizardOnLab::LoadOrFail(const TempLab& tempLab) {
  std::string error;
  auto lab = tempLab.Load(&error);
  // Without its lab the fixture cannot stand; stop the whole run with the reason.
  if (lab == nullptr) {
    ADD_FAILURE() << "the test lab did not load: " << error;
    std::abort();
  }
  // What is dated by the clock (the readiness report's name) comes out the same on every run.
  lab->MachineInfo().PinLocalTime(kTestLocalTime);
  return lab;
}
