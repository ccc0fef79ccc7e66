// DuplexSetupAssistant.com, the console companion of the window program: cmd.exe prefers it to the .exe of the
// same name, waits for it, shows its output in order and sets %ERRORLEVEL% from its exit code.
#include <windows.h>

#include <string>
#include <vector>

#include "cli/exit_codes.h"
#include "wizard/win32/win32_command_line.h"

namespace {
// Without a command the user asked for the window: start the program beside this one and leave it running.
int StartWindowProgram() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return exitcode::Usage;
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const std::size_t dot = path.find_last_of(L'.');
  if (dot == std::wstring::npos || path.find_last_of(L'\\') > dot) return exitcode::Usage;
  path.replace(dot, std::wstring::npos, L".exe");
  std::wstring commandLine = L"\"" + path + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &started)) {
    return exitcode::Usage;
  }
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return exitcode::Clean;
}
}  // namespace

int wmain(int argc, wchar_t* argv[]) {
  // As the window program does: a DLL named without a path never comes from the current directory or PATH.
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_APPLICATION_DIR);
  if (argc <= 1) return StartWindowProgram();
  return RunWin32CommandLine(std::vector<std::wstring>(argv + 1, argv + argc));
}
