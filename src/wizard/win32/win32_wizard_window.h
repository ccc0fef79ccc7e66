// The wizard window on Win32: the real dialog template driven by WizardDialog, and nothing decided here.
#pragma once

#ifdef _WIN32
#include <windows.h>

#include <string>
#include <vector>

#include "wizard/win32/win32_ownerless_message_box.h"
#include "wizard/wizard_dialog.h"
#include "wizard/wizard_view.h"

// The executable's file name without its extension: the caption of boxes that name none.
std::wstring ApplicationTitle();

class Win32WizardWindow : public WizardView {
 public:
  Win32WizardWindow(HINSTANCE instance, Platform& platform, InstallLog& log);
  ~Win32WizardWindow() override;
  Win32WizardWindow(const Win32WizardWindow&) = delete;
  Win32WizardWindow& operator=(const Win32WizardWindow&) = delete;

  // Runs the main dialog modally; returns what it ended with (IDOK, IDCANCEL) or -1 when it could not be created.
  INT_PTR RunModal(HWND owner);

  WizardDialog& Logic() { return dialog_; }

  std::wstring EntryText(int controlId) override;
  void SetEntryText(int controlId, const std::wstring& text) override;
  void SetEntryLimit(int controlId, int maxChars) override;
  void FocusEntry(int controlId) override;
  std::vector<std::wstring> BoardCountItems() override;
  int BoardCountSelection() override;
  void SetBoardCountSelection(int index) override;
  void EnableButton(int controlId, bool enabled) override;
  void SetListColumns(const std::vector<std::wstring>& headers, int columnWidthPixels) override;
  void AppendListRow(const std::wstring& label) override;
  void SetListCell(int row, int column, const std::wstring& text) override;
  void RemoveAllListRows() override;
  void ShowMessage(const std::wstring& text, const std::wstring& caption) override;
  bool AskYesNo(const std::wstring& text, const std::wstring& caption, Answer preselected) override;
  void EndModal(int result) override;
  void SetBusy(bool busy) override;
  void RepaintWhileBusy() override;

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR OnInitDialog();
  INT_PTR OnCommand(WPARAM wParam);
  INT_PTR OnSysCommand(WPARAM wParam);
  INT_PTR OnPaint();
  INT_PTR OnSetCursor();

  HWND Control(int controlId) const { return GetDlgItem(window_, controlId); }
  const wchar_t* CaptionOrTitle(const std::wstring& caption) const;

  HINSTANCE instance_;
  HWND window_ = nullptr;
  HICON largeIcon_ = nullptr;  // shared: loaded with LoadIconW, never destroyed
  HICON smallIcon_ = nullptr;  // owned: loaded at the small size with LoadImageW
  bool busy_ = false;
  int boxesUp_ = 0;  // owned boxes waiting for the user: the window under them is not busy-looking
  std::wstring title_;
  // The boxes node gathering shows, with no owner window.
  Win32OwnerlessMessageBox ownerlessBox_;
  WizardDialog dialog_;
};
#endif
