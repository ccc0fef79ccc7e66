// The Windows program's standard output and error: a console window, or a file or pipe they were redirected to.
#pragma once

#include <windows.h>

#include "cli/console.h"
#include "platform/win32/scoped_handle.h"

// On a console, lines are written as wide text (any character shows); redirected, as UTF-8 with
// CR LF. A program of the window subsystem has no standard handles of its own unless they were
// redirected: it writes to the console of the process that started it, if there is one.
class Win32Console : public Console {
 public:
  Win32Console();
  Win32Console(const Win32Console&) = delete;
  Win32Console& operator=(const Win32Console&) = delete;

  void WriteOut(const std::wstring& line) override { WriteLine(out_, line); }
  void WriteErr(const std::wstring& line) override { WriteLine(err_, line); }
  bool ErrIsTerminal() const override;

 private:
  static void WriteLine(HANDLE handle, const std::wstring& line);

  HANDLE out_ = nullptr;
  HANDLE err_ = nullptr;
  // The parent's console, opened when the standard handles were missing.
  ScopedHandle parentConsole_;
};
