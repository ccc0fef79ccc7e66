// The wizard window on Win32: the real dialog template driven by WizardDialog, and nothing decided here.
#include "wizard/win32/win32_wizard_window.h"

#include <commctrl.h>

#include <cstring>

#include "platform/executable_path.h"
#include "resource.h"

namespace {
// The dialog-init resource type, and the 16-bit number of CB_ADDSTRING that its entries carry.
constexpr WORD kDialogInitType = 240;
constexpr WORD kComboAddString16 = 0x0403;

// Adds the items the template's dialog-init resource lists (the board counts) to their controls.
void AddDialogInitItems(HINSTANCE instance, HWND dialog, int dialogId) {
  HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(dialogId), MAKEINTRESOURCEW(kDialogInitType));
  if (found == nullptr) return;
  HGLOBAL loaded = LoadResource(instance, found);
  const auto* bytes = static_cast<const unsigned char*>(loaded != nullptr ? LockResource(loaded) : nullptr);
  const DWORD size = SizeofResource(instance, found);
  if (bytes == nullptr) return;
  // Entries: control id (WORD), message (WORD), byte count (DWORD), data; a zero control id ends them.
  std::size_t at = 0;
  while (at + 8 <= size) {
    WORD control = 0;
    WORD message = 0;
    DWORD length = 0;
    std::memcpy(&control, bytes + at, sizeof control);
    if (control == 0) break;
    std::memcpy(&message, bytes + at + 2, sizeof message);
    std::memcpy(&length, bytes + at + 4, sizeof length);
    at += 8;
    if (length > size - at) break;
    if (message == kComboAddString16 && length > 0) {
      const auto* text = reinterpret_cast<const char*>(bytes + at);
      const int textBytes = static_cast<int>(strnlen(text, length));
      std::wstring item(static_cast<std::size_t>(textBytes), L'\0');
      MultiByteToWideChar(CP_ACP, 0, text, textBytes, item.data(), textBytes);
      SendDlgItemMessageW(dialog, control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    at += length;
  }
}

std::wstring WindowText(HWND window);

// A label whose text the dialog font draws wider than its template rectangle is widened, up to the
// entry it labels. On Windows the template's labels fit and nothing moves; Wine's stand-in for the
// dialog font is a little wider, and without this the last word of several labels would be cut.
void WidenClippedLabels(HWND dialog) {
  HDC dc = GetDC(dialog);
  if (dc == nullptr) return;
  const HGDIOBJ previousFont = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
  for (HWND label = GetWindow(dialog, GW_CHILD); label != nullptr; label = GetWindow(label, GW_HWNDNEXT)) {
    wchar_t className[16] = {};
    GetClassNameW(label, className, 16);
    if (lstrcmpiW(className, L"Static") != 0 || (GetWindowLongW(label, GWL_STYLE) & SS_TYPEMASK) != SS_LEFT) continue;
    HWND entry = GetWindow(label, GW_HWNDNEXT);
    if (entry == nullptr) continue;
    const std::wstring text = WindowText(label);
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    RECT labelRect{};
    RECT entryRect{};
    GetWindowRect(label, &labelRect);
    GetWindowRect(entry, &entryRect);
    const int width = labelRect.right - labelRect.left;
    const int room = entryRect.left - labelRect.left - 2;
    const int wanted = extent.cx + 1 < room ? extent.cx + 1 : room;
    if (wanted > width) {
      SetWindowPos(label, nullptr, 0, 0, wanted, labelRect.bottom - labelRect.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  SelectObject(dc, previousFont);
  ReleaseDC(dialog, dc);
}

// The resolution the program's sizes in pixels are written for (100 %).
constexpr int kStandardDpi = 96;

// The window's resolution in dots per inch: its display's where Windows can tell (10 from 1607),
// else the system's, which is the display's on a single display.
int WindowDpi(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  if (HMODULE user32 = GetModuleHandleW(L"user32.dll"); user32 != nullptr) {
    const auto getDpiForWindow =
        reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")));
    if (getDpiForWindow != nullptr) {
      if (const UINT dpi = getDpiForWindow(window); dpi > 0) return static_cast<int>(dpi);
    }
  }
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kStandardDpi;
}

INT_PTR CALLBACK AboutDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(window, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

std::wstring WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}
}  // namespace

std::wstring ApplicationTitle() { return ExecutablePath().stem().wstring(); }

Win32WizardWindow::Win32WizardWindow(HINSTANCE instance, Platform& platform, InstallLog& log)
    : instance_(instance), title_(ApplicationTitle()), dialog_(platform, log, *this, ownerlessBox_) {}

Win32WizardWindow::~Win32WizardWindow() {
  if (smallIcon_ != nullptr) DestroyIcon(smallIcon_);
}

INT_PTR Win32WizardWindow::RunModal(HWND owner) {
  return DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_DUPLEXSETUPASSISTANT_DIALOG), owner, DialogProc,
                         reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK Win32WizardWindow::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    reinterpret_cast<Win32WizardWindow*>(lParam)->window_ = window;
  }
  auto* self = reinterpret_cast<Win32WizardWindow*>(GetWindowLongPtrW(window, DWLP_USER));
  return self != nullptr ? self->OnMessage(message, wParam, lParam) : FALSE;
}

INT_PTR Win32WizardWindow::OnMessage(UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  switch (message) {
    case WM_INITDIALOG: return OnInitDialog();
    case WM_COMMAND: return OnCommand(wParam);
    case WM_SYSCOMMAND: return OnSysCommand(wParam);
    case WM_PAINT: return OnPaint();
    case WM_QUERYDRAGICON: return reinterpret_cast<INT_PTR>(largeIcon_);
    case WM_SETCURSOR: return OnSetCursor();
    default: return FALSE;
  }
}

INT_PTR Win32WizardWindow::OnInitDialog() {
  AddDialogInitItems(instance_, window_, IDD_DUPLEXSETUPASSISTANT_DIALOG);
  WidenClippedLabels(window_);

  wchar_t aboutText[128] = {};
  if (LoadStringW(instance_, IDS_ABOUTBOX, aboutText, 128) > 0) {
    if (HMENU systemMenu = GetSystemMenu(window_, FALSE); systemMenu != nullptr) {
      AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
      AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, aboutText);
    }
  }

  largeIcon_ = LoadIconW(instance_, MAKEINTRESOURCEW(IDR_MAINFRAME));
  smallIcon_ = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon_));
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_ ? smallIcon_ : largeIcon_));

  SendMessageW(Control(IDC_NODE_INFO_LIST), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);

  dialog_.OnInitDialog();
  return TRUE;
}

INT_PTR Win32WizardWindow::OnCommand(WPARAM wParam) {
  if (HIWORD(wParam) != BN_CLICKED) return FALSE;
  switch (LOWORD(wParam)) {
    case IDC_STEP1: dialog_.OnStep1(); return TRUE;
    case IDC_STEP2: dialog_.OnStep2(); return TRUE;
    case IDC_STEP3: dialog_.OnStep3(); return TRUE;
    case IDC_RESET: dialog_.OnReset(); return TRUE;
    case IDOK: dialog_.OnExit(); return TRUE;
    case IDCANCEL: EndDialog(window_, IDCANCEL); return TRUE;
    default: return FALSE;
  }
}

INT_PTR Win32WizardWindow::OnSysCommand(WPARAM wParam) {
  if ((wParam & 0xFFF0) != IDM_ABOUTBOX) return FALSE;
  // In the middle of a step the command can only come from the step's repaints (sent from elsewhere: posted ones
  // are dropped there): the box would open inside them and hold the step until closed.
  if (!busy_) DialogBoxW(instance_, MAKEINTRESOURCEW(IDD_ABOUTBOX), window_, AboutDialogProc);
  return TRUE;
}

INT_PTR Win32WizardWindow::OnPaint() {
  // Only the minimised window is painted here, as its icon; otherwise the dialog paints itself.
  if (!IsIconic(window_)) return FALSE;
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(window_, &paint);
  SendMessageW(window_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client{};
  GetClientRect(window_, &client);
  const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(dc, x, y, largeIcon_);
  EndPaint(window_, &paint);
  return TRUE;
}

INT_PTR Win32WizardWindow::OnSetCursor() {
  // A box waiting for the user is not work in progress: the window under it keeps its arrow.
  if (!busy_ || boxesUp_ > 0) return FALSE;
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  SetWindowLongPtrW(window_, DWLP_MSGRESULT, TRUE);
  return TRUE;
}

const wchar_t* Win32WizardWindow::CaptionOrTitle(const std::wstring& caption) const {
  return caption.empty() ? title_.c_str() : caption.c_str();
}

std::wstring Win32WizardWindow::EntryText(int controlId) { return WindowText(Control(controlId)); }

void Win32WizardWindow::SetEntryText(int controlId, const std::wstring& text) {
  SetDlgItemTextW(window_, controlId, text.c_str());
}

void Win32WizardWindow::SetEntryLimit(int controlId, int maxChars) {
  SendMessageW(Control(controlId), EM_SETLIMITTEXT, static_cast<WPARAM>(maxChars), 0);
}

void Win32WizardWindow::FocusEntry(int controlId) {
  HWND entry = Control(controlId);
  SetFocus(entry);
  SendMessageW(entry, EM_SETSEL, 0, -1);
}

std::vector<std::wstring> Win32WizardWindow::BoardCountItems() {
  HWND combo = Control(IDC_BOARD_COUNT);
  const auto count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  std::vector<std::wstring> items;
  for (int i = 0; i < count; ++i) {
    const auto length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    if (length == CB_ERR) break;
    std::wstring item(static_cast<std::size_t>(length) + 1, L'\0');
    const auto copied =
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
    item.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    items.push_back(std::move(item));
  }
  return items;
}

int Win32WizardWindow::BoardCountSelection() {
  return static_cast<int>(SendMessageW(Control(IDC_BOARD_COUNT), CB_GETCURSEL, 0, 0));
}

void Win32WizardWindow::SetBoardCountSelection(int index) {
  SendMessageW(Control(IDC_BOARD_COUNT), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void Win32WizardWindow::EnableButton(int controlId, bool enabled) { EnableWindow(Control(controlId), enabled); }

void Win32WizardWindow::SetListColumns(const std::vector<std::wstring>& headers, int columnWidthPixels) {
  HWND list = Control(IDC_NODE_INFO_LIST);
  while (SendMessageW(list, LVM_DELETECOLUMN, 0, 0)) {
  }
  // The program declares itself DPI-aware, so Windows no longer stretches the window: widths given
  // for a 96-DPI display grow with the display's resolution, as the dialog's font does.
  const int width = MulDiv(columnWidthPixels, WindowDpi(list), kStandardDpi);
  for (std::size_t i = 0; i < headers.size(); ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = const_cast<wchar_t*>(headers[i].c_str());
    column.iSubItem = static_cast<int>(i);
    SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
}

void Win32WizardWindow::AppendListRow(const std::wstring& label) {
  HWND list = Control(IDC_NODE_INFO_LIST);
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  item.pszText = const_cast<wchar_t*>(label.c_str());
  SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void Win32WizardWindow::SetListCell(int row, int column, const std::wstring& text) {
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(Control(IDC_NODE_INFO_LIST), LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
               reinterpret_cast<LPARAM>(&item));
}

void Win32WizardWindow::RemoveAllListRows() { SendMessageW(Control(IDC_NODE_INFO_LIST), LVM_DELETEALLITEMS, 0, 0); }

void Win32WizardWindow::ShowMessage(const std::wstring& text, const std::wstring& caption) {
  ++boxesUp_;
  MessageBoxW(window_, text.c_str(), CaptionOrTitle(caption), MB_OK);
  --boxesUp_;
}

bool Win32WizardWindow::AskYesNo(const std::wstring& text, const std::wstring& caption, Answer preselected) {
  ++boxesUp_;
  const UINT defaultButton = preselected == Answer::Yes ? MB_DEFBUTTON1 : MB_DEFBUTTON2;
  const bool yes = MessageBoxW(window_, text.c_str(), CaptionOrTitle(caption), MB_YESNO | defaultButton) == IDYES;
  --boxesUp_;
  return yes;
}

void Win32WizardWindow::EndModal(int result) { EndDialog(window_, result); }

namespace {
// What the user does to the window: keys, mouse and touch, and the requests to close it or to open
// a box from its system menu. A click that a tool makes for the user (a screen reader, automation)
// arrives as a posted BM_CLICK. Anything else (painting, timers, the system's own messages) goes on.
bool IsDroppedWhileBusy(const MSG& message) {
  const UINT id = message.message;
  if ((id >= WM_KEYFIRST && id <= WM_KEYLAST) || (id >= WM_MOUSEFIRST && id <= WM_MOUSELAST) ||
      (id >= WM_NCMOUSEMOVE && id <= WM_NCMBUTTONDBLCLK) || (id >= WM_NCXBUTTONDOWN && id <= WM_NCXBUTTONDBLCLK) ||
      (id >= WM_TOUCH && id <= WM_POINTERHWHEEL)) {
    return true;
  }
  if (id == WM_CLOSE || id == BM_CLICK) return true;
  if (id == WM_SYSCOMMAND) {
    // The system's own commands start at SC_SIZE; below them are the window's items (the About box).
    const WPARAM command = message.wParam & 0xFFF0;
    return command == SC_CLOSE || command < SC_SIZE;
  }
  return false;
}
}  // namespace

void Win32WizardWindow::RepaintWhileBusy() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Left for the loop that owns it.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    // Dropped rather than kept for later, so that none of them starts a step, closes the window or
    // answers anything once the wait is over.
    if (IsDroppedWhileBusy(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void Win32WizardWindow::SetBusy(bool busy) {
  // What the user did since the step's last repaint is dropped as everything during the step was, not delivered
  // once the step is over.
  if (busy_ && !busy) RepaintWhileBusy();
  busy_ = busy;
  SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}
