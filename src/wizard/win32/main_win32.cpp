// The Windows program's entry: picks the backend (a named lab or the real system), loads the log, runs the wizard;
// given a command, runs it without a window.
#include <windows.h>
#include <commctrl.h>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/setuplogkit_log.h"
#include "app/wizard_app.h"
#include "common/text_encoding.h"
#include "platform/lab/lab.h"
#include "platform/win32/win32_platform.h"
#include "setuplogkit/setuplogkit_loader.h"
#include "wizard/win32/win32_command_line.h"
#include "wizard/win32/win32_wizard_window.h"

namespace {
std::wstring EnvironmentVariable(const wchar_t* name) {
  const DWORD needed = GetEnvironmentVariableW(name, nullptr, 0);
  if (needed == 0) return {};
  std::wstring value(needed, L'\0');
  const DWORD length = GetEnvironmentVariableW(name, value.data(), needed);
  value.resize(length < needed ? length : 0);
  return value;
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int /*show*/) {
  // Before anything can load a DLL: from here on a DLL named without a path comes from the system
  // folder or the program's own, never from the current directory or PATH, where an installer's
  // download folder may hold a planted copy.
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_APPLICATION_DIR);
  // Run as DuplexSetupAssistant.exe with a command (the .com companion is what cmd.exe prefers).
  if (const std::vector<std::wstring> words = CommandLineWords(); !words.empty()) return RunWin32CommandLine(words);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);

  Win32Backend system;
  std::unique_ptr<Lab> lab;
  std::string logFileOverride;
  if (const std::wstring labFolder = EnvironmentVariable(L"DUPLEX_SETUP_LAB"); !labFolder.empty()) {
    std::string error;
    lab = Lab::Load(labFolder, &error);
    if (lab == nullptr) {
      const std::wstring text = L"The lab " + labFolder + L" cannot be used:\r\n\r\n" + WideFromUtf8(error);
      MessageBoxW(nullptr, text.c_str(), ApplicationTitle().c_str(), MB_OK);
      return 1;
    }
    logFileOverride = Utf8FromWide(lab->InstallLogFile().wstring());
  }
  Platform platform = lab != nullptr ? lab->MakePlatform() : system.MakePlatform();

  SetupLogKitLibrary library(logFileOverride);
  SetupLogKitLog log(library.WriteFunction(), library.Problem(), DefaultFallbackLogFile(), std::cerr);
  Win32WizardWindow window(instance, platform, log);
  WizardApp(log).InitInstance([&] { window.RunModal(nullptr); });
  return 0;
}
