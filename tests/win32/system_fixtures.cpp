// Controlled machine-wide state made with Wine's own reg.exe and sc.exe: imported keys and registered services.
#include "system_fixtures.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <type_traits>
#include <utility>

#include "platform/win32/scoped_handle.h"
#include "wine_fixtures.h"

namespace {
struct ServiceHandleCloser {
  void operator()(SC_HANDLE handle) const { ::CloseServiceHandle(handle); }
};
using UniqueServiceHandle = std::unique_ptr<std::remove_pointer_t<SC_HANDLE>, ServiceHandleCloser>;

struct KeyCloser {
  void operator()(HKEY key) const { ::RegCloseKey(key); }
};
using UniqueKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

bool MachineKeyExists(const std::wstring& path) {
  HKEY key = nullptr;
  const bool opened = RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
  const UniqueKey holder(opened ? key : nullptr);
  return opened;
}

void RemoveMachineKey(const std::wstring& path) {
  DeleteMachineKeyTree(path);
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, path.c_str());
}

// The outermost key on the way to `path` that does not exist yet, or "" if `path` exists.
std::wstring FirstMissingKey(const std::wstring& path) {
  for (std::size_t end = path.find(L'\\');; end = path.find(L'\\', end + 1)) {
    const std::wstring prefix = path.substr(0, end);
    if (!MachineKeyExists(prefix)) return prefix;
    if (end == std::wstring::npos) return {};
  }
}

// The state of a service of this computer, or 0 when it is not registered (or the manager cannot say).
DWORD ServiceState(const std::wstring& name) {
  UniqueServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (!manager) return 0;
  UniqueServiceHandle service(OpenServiceW(manager.get(), name.c_str(), SERVICE_QUERY_STATUS));
  if (!service) return 0;
  SERVICE_STATUS serviceStatus{};
  return QueryServiceStatus(service.get(), &serviceStatus) ? serviceStatus.dwCurrentState : 0;
}

// Repeats `step` until `done` holds or `timeoutMs` has passed; whether `done` held.
template <typename Done, typename Step>
bool RetryUntil(DWORD timeoutMs, Done done, Step step) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (!done()) {
    if (GetTickCount64() > deadline) return false;
    step();
    Sleep(50);
  }
  return true;
}

std::string CommandProblem(const std::wstring& commandLine, const CommandResult& result) {
  if (!result.problem.empty()) return result.problem;
  if (result.exitCode == 0) return {};
  return Narrow(commandLine) + " exited with " + std::to_string(result.exitCode);
}

std::wstring TestServicePath() { return OnDriveZ(DUPLEX_TEST_SERVICE_PATH); }

void RemoveService(const std::wstring& name) {
  if (ServiceState(name) == 0) return;
  RetryUntil(
      15000, [&] { return ServiceState(name) == SERVICE_STOPPED; },
      [&] { RunCommand(L"sc.exe stop " + Quoted(name)); });
  RetryUntil(
      15000, [&] { return ServiceState(name) == 0; }, [&] { RunCommand(L"sc.exe delete " + Quoted(name)); });
}
}  // namespace

std::wstring OnDriveZ(std::wstring unixPath) {
  for (auto& c : unixPath) {
    if (c == L'/') c = L'\\';
  }
  return L"Z:" + unixPath;
}

CommandResult RunCommand(std::wstring commandLine, DWORD timeoutMs) {
  CommandResult result;
  // The tools' own output would only clutter the test log; their exit code says enough.
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  ScopedHandle nul(CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                               OPEN_EXISTING, 0, nullptr));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = startup.hStdOutput = startup.hStdError = nul.get();
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started)) {
    result.problem = "cannot start " + Narrow(commandLine) + ": " + std::to_string(GetLastError());
    return result;
  }
  ScopedHandle process(started.hProcess);
  ScopedHandle thread(started.hThread);
  if (WaitForSingleObject(process.get(), timeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(process.get(), 1);
    result.problem = Narrow(commandLine) + " did not finish";
    return result;
  }
  GetExitCodeProcess(process.get(), &result.exitCode);
  return result;
}

RegFileText& RegFileText::Key(const std::wstring& path) {
  text_ += L"\r\n[HKEY_LOCAL_MACHINE\\" + path + L"]\r\n";
  return *this;
}

RegFileText& RegFileText::String(const std::wstring& name, const std::wstring& text) {
  std::wstring escaped;
  for (wchar_t c : text) {
    if (c == L'\\' || c == L'"') escaped += L'\\';
    escaped += c;
  }
  text_ += Quoted(name) + L"=" + Quoted(escaped) + L"\r\n";
  return *this;
}

RegFileText& RegFileText::MultiString(const std::wstring& name, const std::vector<std::wstring>& strings) {
  // Each string with its terminator, then the empty string that ends the list, as UTF-16LE bytes.
  std::wstring data;
  for (const auto& text : strings) data += text + L'\0';
  data += L'\0';
  std::wstring hex;
  for (wchar_t c : data) {
    wchar_t bytes[8] = {};
    std::swprintf(bytes, 8, L"%02x,%02x,", c & 0xFF, (c >> 8) & 0xFF);
    hex += bytes;
  }
  hex.pop_back();
  text_ += Quoted(name) + L"=hex(7):" + hex + L"\r\n";
  return *this;
}

RegFileText& RegFileText::Dword(const std::wstring& name, DWORD value) {
  wchar_t digits[16] = {};
  std::swprintf(digits, 16, L"%08lx", static_cast<unsigned long>(value));
  text_ += Quoted(name) + L"=dword:" + digits + L"\r\n";
  return *this;
}

std::string RegFileText::Bytes() const {
  const std::wstring text = text_ + L"\r\n";
  std::string bytes = "\xFF\xFE";
  for (wchar_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>((c >> 8) & 0xFF);
  }
  return bytes;
}

ScopedRegImport::ScopedRegImport(std::vector<std::wstring> ownedKeys, const RegFileText& file) {
  for (std::size_t i = 0; i < ownedKeys.size(); ++i) {
    Owned owned{ownedKeys[i], {}, FirstMissingKey(ownedKeys[i])};
    if (owned.createdParent.empty()) {
      owned.savedFile = folder_.File(L"saved-" + std::to_wstring(i) + L".reg");
      const std::wstring exportLine =
          L"reg.exe export " + Quoted(L"HKLM\\" + owned.path) + L" " + Quoted(owned.savedFile) + L" /y";
      if (problem_ = CommandProblem(exportLine, RunCommand(exportLine)); !problem_.empty()) return;
      RemoveMachineKey(owned.path);
    }
    owned_.push_back(std::move(owned));
  }
  const std::wstring importFile = folder_.File(L"import.reg");
  WriteFileBytes(importFile, file.Bytes());
  const std::wstring importLine = L"reg.exe import " + Quoted(importFile);
  problem_ = CommandProblem(importLine, RunCommand(importLine));
}

ScopedRegImport::~ScopedRegImport() {
  for (auto owned = owned_.rbegin(); owned != owned_.rend(); ++owned) {
    RemoveMachineKey(owned->path);
    if (!owned->savedFile.empty()) RunCommand(L"reg.exe import " + Quoted(owned->savedFile));
    if (!owned->createdParent.empty()) RemoveMachineKey(owned->createdParent);
  }
}

ScopedTestService::ScopedTestService(std::wstring name, bool start) : name_(std::move(name)) {
  // A run that died half-way may have left the service behind.
  RemoveService(name_);
  // Right after the prefix starts, the manager may still refuse changes ("database locked"): try again.
  const std::wstring createLine = L"sc.exe create " + Quoted(name_) + L" binPath= " + Quoted(TestServicePath());
  if (!RetryUntil(
          30000, [&] { return ServiceState(name_) != 0; }, [&] { RunCommand(createLine); })) {
    problem_ = CommandProblem(createLine, RunCommand(createLine));
    if (problem_.empty()) problem_ = Narrow(name_) + " is not registered after sc create";
    return;
  }
  if (!start) return;
  const std::wstring startLine = L"sc.exe start " + Quoted(name_);
  if (!RetryUntil(
          30000, [&] { return ServiceState(name_) == SERVICE_RUNNING; },
          [&] {
            if (ServiceState(name_) == SERVICE_STOPPED) RunCommand(startLine);
          })) {
    problem_ = Narrow(name_) + " does not run after sc start; state " + std::to_string(ServiceState(name_));
  }
}

ScopedTestService::~ScopedTestService() { RemoveService(name_); }
