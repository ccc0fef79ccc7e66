// The service control manager calls the program makes, shaped after OpenSCManagerW and its companions.
#pragma once

#include <cstdint>
#include <string>

#include "common/status.h"
#include "common/unique_handle.h"

// An open service control manager or service handle; 0 is the null handle.
using ScHandle = std::uintptr_t;

class ServiceControl {
 public:
  virtual ~ServiceControl() = default;

  // The "ServicesActive" database on `machine` (no backslashes), GENERIC_READ.
  [[nodiscard]] virtual Status OpenServiceManager(const std::wstring& machine, ScHandle* result) = 0;
  // A service by its service name, GENERIC_READ (which includes the right to interrogate).
  [[nodiscard]] virtual Status OpenNamedService(ScHandle manager, const std::wstring& serviceName,
                                                ScHandle* result) = 0;
  // SERVICE_CONTROL_INTERROGATE; on success the current state (1 stopped ... 7 paused).
  [[nodiscard]] virtual Status Interrogate(ScHandle service, std::uint32_t* currentState) = 0;
  [[nodiscard]] virtual Status CloseServiceHandle(ScHandle handle) = 0;
};

// A service control manager that hands every call on to `inner` unchanged: a wrapper overrides only the calls it
// changes.
class ForwardingServiceControl : public ServiceControl {
 public:
  explicit ForwardingServiceControl(ServiceControl& inner) : inner_(inner) {}

  [[nodiscard]] Status OpenServiceManager(const std::wstring& machine, ScHandle* result) override {
    return inner_.OpenServiceManager(machine, result);
  }
  [[nodiscard]] Status OpenNamedService(ScHandle manager, const std::wstring& serviceName, ScHandle* result) override {
    return inner_.OpenNamedService(manager, serviceName, result);
  }
  [[nodiscard]] Status Interrogate(ScHandle service, std::uint32_t* currentState) override {
    return inner_.Interrogate(service, currentState);
  }
  [[nodiscard]] Status CloseServiceHandle(ScHandle handle) override { return inner_.CloseServiceHandle(handle); }

 protected:
  ServiceControl& inner() const { return inner_; }

 private:
  ServiceControl& inner_;
};

// How a ScopedScHandle closes what it holds: through the ServiceControl that opened it.
struct ScHandleTraits {
  using Handle = ScHandle;
  ScHandleTraits() = default;
  // Not explicit, so that `ScopedScHandle manager(services);` names the services its handle is closed by.
  ScHandleTraits(ServiceControl& owner) : services(&owner) {}

  static Handle Null() { return 0; }
  static bool IsValid(Handle handle) { return handle != 0; }
  [[nodiscard]] Status Close(Handle handle) const {
    return services != nullptr ? services->CloseServiceHandle(handle) : status::Success;
  }

  ServiceControl* services = nullptr;
};

// Owns one service control manager or service handle and closes it when it goes out of scope.
using ScopedScHandle = UniqueHandle<ScHandleTraits>;
