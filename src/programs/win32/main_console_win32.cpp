// DuplexSetupAssistant.com, the console companion of the window program: cmd.exe prefers it to the .exe of the
// same name, waits for it, shows its output in order and sets %ERRORLEVEL% from its exit code.
#include <windows.h>

#include <string>
#include <vector>

#include "cli/exit_codes.h"
#include "platform/executable_path.h"
#include "programs/win32/win32_edition.h"

namespace {
// Without a command the user asked for the window: start the program beside this one and leave it running.
int StartWindowProgram() {
  std::filesystem::path program = ExecutablePath();
  if (program.empty() || !program.has_extension()) return exitcode::Usage;
  program.replace_extension(L".exe");
  const std::wstring path = program.wstring();
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
  return Win32Edition().RunCommandLine(std::vector<std::wstring>(argv + 1, argv + argc));
}
