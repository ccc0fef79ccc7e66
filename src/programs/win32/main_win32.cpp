// The Windows program's entry: the backend and the log made once, then the wizard window, or, given a command, the
// command without a window.
#include <windows.h>
#include <commctrl.h>

#include "log/wizard_app.h"
#include "programs/win32/win32_edition.h"
#include "wizard/win32/win32_wizard_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int /*show*/) {
  // Before anything can load a DLL: from here on a DLL named without a path comes from the system
  // folder or the program's own, never from the current directory or PATH, where an installer's
  // download folder may hold a planted copy.
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_APPLICATION_DIR);
  Win32Edition edition;
  // Run as DuplexSetupAssistant.exe with a command (the .com companion is what cmd.exe prefers).
  if (const std::vector<std::wstring> words = CommandLineWords(); !words.empty()) return edition.RunCommandLine(words);

  if (edition.platform() == nullptr) {
    const std::wstring text = L"The lab " + edition.LabFolder() + L" cannot be used:\r\n\r\n" + edition.LabError();
    MessageBoxW(nullptr, text.c_str(), ApplicationTitle().c_str(), MB_OK);
    return 1;
  }
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  Win32WizardWindow window(instance, *edition.platform(), edition.log());
  WizardApp(edition.log()).InitInstance([&] { window.RunModal(nullptr); });
  return 0;
}
