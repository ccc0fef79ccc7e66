// A do-nothing Windows service for the tests under Wine: runs under whatever name it was registered with,
// answers interrogation with its state and stops when told to.
#include <windows.h>

#include "platform/win32/scoped_handle.h"

namespace {
SERVICE_STATUS_HANDLE statusHandle = nullptr;
SERVICE_STATUS status{};
HANDLE stopRequested = nullptr;

void Report(DWORD state) {
  status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  status.dwCurrentState = state;
  status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP : 0;
  status.dwWin32ExitCode = NO_ERROR;
  SetServiceStatus(statusHandle, &status);
}

DWORD WINAPI Handler(DWORD control, DWORD, void*, void*) {
  switch (control) {
    case SERVICE_CONTROL_INTERROGATE: Report(status.dwCurrentState); return NO_ERROR;
    case SERVICE_CONTROL_STOP:
      Report(SERVICE_STOP_PENDING);
      SetEvent(stopRequested);
      return NO_ERROR;
    default: return ERROR_CALL_NOT_IMPLEMENTED;
  }
}

void WINAPI ServiceMain(DWORD argc, wchar_t** argv) {
  // The manager passes the registered name first; an own-process service may register under it or "".
  statusHandle = RegisterServiceCtrlHandlerExW(argc > 0 ? argv[0] : L"", Handler, nullptr);
  if (statusHandle == nullptr) return;
  ScopedHandle stopEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  stopRequested = stopEvent.get();
  Report(SERVICE_RUNNING);
  WaitForSingleObject(stopRequested, INFINITE);
  // After this report the dispatcher returns and the process ends.
  Report(SERVICE_STOPPED);
}
}  // namespace

int wmain() {
  // An own-process service ignores the table's name, so one executable serves every registered name.
  wchar_t anyName[] = L"";
  const SERVICE_TABLE_ENTRYW table[] = {{anyName, ServiceMain}, {nullptr, nullptr}};
  return StartServiceCtrlDispatcherW(table) ? 0 : static_cast<int>(GetLastError());
}
