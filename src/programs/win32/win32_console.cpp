// The Windows program's standard output and error: a console window, or a file or pipe they were redirected to.
#include "programs/win32/win32_console.h"

#include <string>

#include "common/text_encoding.h"

namespace {
bool IsUsable(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }

bool IsConsole(HANDLE handle) {
  DWORD mode = 0;
  return IsUsable(handle) && GetConsoleMode(handle, &mode) != FALSE;
}
}  // namespace

Win32Console::Win32Console() : out_(GetStdHandle(STD_OUTPUT_HANDLE)), err_(GetStdHandle(STD_ERROR_HANDLE)) {
  if (IsUsable(out_) && IsUsable(err_)) return;
  // Started from cmd.exe without redirection, the window program's standard handles are empty;
  // the console cmd.exe runs in is still there to write to.
  if (AttachConsole(ATTACH_PARENT_PROCESS) == FALSE) return;
  parentConsole_ = ScopedHandle(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!parentConsole_.IsOpen()) return;
  if (!IsUsable(out_)) out_ = parentConsole_.get();
  if (!IsUsable(err_)) err_ = parentConsole_.get();
}

bool Win32Console::ErrIsTerminal() const { return IsConsole(err_); }

void Win32Console::WriteLine(HANDLE handle, const std::wstring& line) {
  if (!IsUsable(handle)) return;
  const std::wstring text = line + L"\r\n";
  DWORD written = 0;
  if (IsConsole(handle)) {
    WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    return;
  }
  const std::string bytes = Utf8FromWide(text);
  WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}
