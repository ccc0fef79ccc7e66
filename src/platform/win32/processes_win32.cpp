// Starting a process with CreateProcessW and waiting on it; codes come from GetLastError unchanged.
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

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// The program a command line names, read as CreateProcessW reads it without an application name:
// a first word in quotes runs to its closing quote, any other to the first blank.
std::wstring FirstWord(const std::wstring& commandLine) {
  std::size_t start = 0;
  while (start < commandLine.size() && IsBlank(commandLine[start])) ++start;
  if (start < commandLine.size() && commandLine[start] == L'"') {
    const std::size_t close = commandLine.find(L'"', start + 1);
    return commandLine.substr(start + 1, close == std::wstring::npos ? std::wstring::npos : close - start - 1);
  }
  std::size_t end = start;
  while (end < commandLine.size() && !IsBlank(commandLine[end])) ++end;
  return commandLine.substr(start, end - start);
}

bool EqualsIgnoringCase(const std::wstring& text, const wchar_t* other) {
  return CompareStringOrdinal(text.c_str(), -1, other, -1, TRUE) == CSTR_EQUAL;
}

bool IsFullPath(const std::wstring& path) {
  const bool onDrive = path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/');
  const bool onShare = path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\';
  return onDrive || onShare;
}

// The file CreateProcessW is to run for `commandLine`, named so that nothing is searched for.
Status ApplicationName(const std::wstring& commandLine, std::wstring* application) {
  const std::wstring program = FirstWord(commandLine);
  if (EqualsIgnoringCase(program, L"cmd") || EqualsIgnoringCase(program, L"cmd.exe")) {
    // The interpreter of the system, never a cmd.exe beside this program or in its current directory.
    const UINT needed = GetSystemDirectoryW(nullptr, 0);
    if (needed == 0) return GetLastError();
    std::wstring folder(needed, L'\0');
    const UINT length = GetSystemDirectoryW(folder.data(), needed);
    if (length == 0 || length >= needed) return length == 0 ? GetLastError() : ERROR_INSUFFICIENT_BUFFER;
    folder.resize(length);
    *application = folder + L"\\cmd.exe";
    return ERROR_SUCCESS;
  }
  if (!IsFullPath(program)) return ERROR_FILE_NOT_FOUND;
  *application = program;
  return ERROR_SUCCESS;
}
}  // namespace

Status Win32Processes::Start(const std::wstring& commandLine, const std::wstring& currentDirectory,
                             std::unique_ptr<StartedProcess>* process) {
  // Whatever the caller held before, a failed start leaves it holding nothing.
  process->reset();
  std::wstring application;
  if (const Status rc = ApplicationName(commandLine, &application); rc != ERROR_SUCCESS) return rc;
  // CreateProcessW may write into the command line, so it gets a writable copy of its own; a
  // constant string would fault.
  std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back(L'\0');

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  // The console of the command interpreter opens minimised, out of the user's way, at 0, 0.
  startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USEPOSITION;
  startup.wShowWindow = SW_SHOWMINIMIZED;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(application.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, currentDirectory.c_str(),
                      &startup, &info)) {
    return GetLastError();
  }
  ScopedHandle thread(info.hThread);
  *process = std::make_unique<Win32StartedProcess>(ScopedHandle(info.hProcess));
  return status::Success;
}
