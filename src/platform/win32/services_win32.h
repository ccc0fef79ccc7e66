// The service seam over the real service control manager; codes come from GetLastError unchanged.
#pragma once

#include "platform/services.h"

class Win32ServiceControl : public ServiceControl {
 public:
  Status OpenServiceManager(const std::wstring& machine, ScHandle* result) override;
  Status OpenNamedService(ScHandle manager, const std::wstring& serviceName, ScHandle* result) override;
  Status Interrogate(ScHandle service, std::uint32_t* currentState) override;
  Status CloseServiceHandle(ScHandle handle) override;
};
