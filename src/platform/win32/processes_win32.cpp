// Starting a process with CreateProcessW and waiting on it.
#include "platform/win32/processes_win32.h"

#include <windows.h>

#include <utility>
#include <vector>

#include "platform/win32/scoped_handle.h"

namespace {
// Holds the process handle only for waiting; closing it leaves the process running.
class Win32StartedProcess : public StartedProcess {
 public:
  explicit Win32StartedProcess(ScopedHandle process) : process_(std::move(process)) {}

  bool WaitForEnd(std::uint32_t milliseconds) override {
    return WaitForSingleObject(process_.get(), milliseconds) == WAIT_OBJECT_0;
  }

 private:
  ScopedHandle process_;
};
}  // namespace

Status Win32Processes::Start(const std::wstring& commandLine, const std::wstring& currentDirectory,
                             std::unique_ptr<StartedProcess>* process) {
  // Whatever the caller held before, a failed start leaves it holding nothing.
  process->reset();
  // CreateProcessW may write into the command line (it cuts it at the program's name while it looks
  // for the program), so it gets a writable copy of its own; a constant string would fault.
  std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back(L'\0');

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  // The console of the command interpreter opens minimised, out of the user's way, at 0, 0.
  startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USEPOSITION;
  startup.wShowWindow = SW_SHOWMINIMIZED;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, currentDirectory.c_str(), &startup,
                      &info)) {
    return GetLastError();
  }
  ScopedHandle thread(info.hThread);
  *process = std::make_unique<Win32StartedProcess>(ScopedHandle(info.hProcess));
  return status::Success;
}

std::uint64_t Win32Processes::NowMilliseconds() { return GetTickCount64(); }
