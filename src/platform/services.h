// The service control manager calls the program makes, shaped after OpenSCManagerW and its companions.
#pragma once

#include <cstdint>
#include <string>

#include "common/status.h"

// An open service control manager or service handle; 0 is the null handle.
using ScHandle = std::uintptr_t;

class ServiceControl {
 public:
  virtual ~ServiceControl() = default;

  // The "ServicesActive" database on `machine` (no backslashes), GENERIC_READ.
  virtual Status OpenServiceManager(const std::wstring& machine, ScHandle* result) = 0;
  // A service by its service name, GENERIC_READ (which includes the right to interrogate).
  virtual Status OpenNamedService(ScHandle manager, const std::wstring& serviceName, ScHandle* result) = 0;
  // SERVICE_CONTROL_INTERROGATE; on success the current state (1 stopped ... 7 paused).
  virtual Status Interrogate(ScHandle service, std::uint32_t* currentState) = 0;
  virtual Status CloseServiceHandle(ScHandle handle) = 0;
};

// Owns one service control manager or service handle and closes it when it goes out of scope.
class ScopedScHandle {
 public:
  explicit ScopedScHandle(ServiceControl& services) : services_(&services) {}
  ScopedScHandle(const ScopedScHandle&) = delete;
  ScopedScHandle& operator=(const ScopedScHandle&) = delete;
  ~ScopedScHandle() { Close(); }

  ScHandle get() const { return handle_; }
  ScHandle* Receive() { return &handle_; }
  void Close() {
    if (handle_ != 0) services_->CloseServiceHandle(handle_);
    handle_ = 0;
  }

 private:
  ServiceControl* services_;
  ScHandle handle_ = 0;
};
