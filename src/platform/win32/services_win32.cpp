// The service seam over the real service control manager; codes come from GetLastError unchanged.
#include "platform/win32/services_win32.h"

#include <windows.h>

namespace {
SC_HANDLE ToScHandle(ScHandle handle) { return reinterpret_cast<SC_HANDLE>(handle); }
ScHandle FromScHandle(SC_HANDLE handle) { return reinterpret_cast<ScHandle>(handle); }
}  // namespace

Status Win32ServiceControl::OpenServiceManager(const std::wstring& machine, ScHandle* result) {
  SC_HANDLE manager = OpenSCManagerW(machine.empty() ? nullptr : machine.c_str(), L"ServicesActive", GENERIC_READ);
  if (manager == nullptr) return GetLastError();
  *result = FromScHandle(manager);
  return status::Success;
}

Status Win32ServiceControl::OpenNamedService(ScHandle manager, const std::wstring& serviceName, ScHandle* result) {
  SC_HANDLE service = OpenServiceW(ToScHandle(manager), serviceName.c_str(), GENERIC_READ);
  if (service == nullptr) return GetLastError();
  *result = FromScHandle(service);
  return status::Success;
}

Status Win32ServiceControl::Interrogate(ScHandle service, std::uint32_t* currentState) {
  SERVICE_STATUS serviceStatus{};
  if (!ControlService(ToScHandle(service), SERVICE_CONTROL_INTERROGATE, &serviceStatus)) return GetLastError();
  *currentState = serviceStatus.dwCurrentState;
  return status::Success;
}

Status Win32ServiceControl::CloseServiceHandle(ScHandle handle) {
  return ::CloseServiceHandle(ToScHandle(handle)) ? status::Success : GetLastError();
}
