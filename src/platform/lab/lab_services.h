// The service control manager of every server in a lab.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "platform/services.h"

class LabServiceControl : public ServiceControl {
 public:
  // `hasServer` says whether a server of that name exists in the lab.
  struct ServiceEntry {
    std::uint32_t state = 4;  // 1 stopped ... 7 paused
  };

  // Declares a server (so that its manager can be opened) and, optionally, its services.
  void AddServer(const std::wstring& server);
  void AddService(const std::wstring& server, const std::wstring& serviceName, ServiceEntry entry);

  Status OpenServiceManager(const std::wstring& machine, ScHandle* result) override;
  Status OpenNamedService(ScHandle manager, const std::wstring& serviceName, ScHandle* result) override;
  Status Interrogate(ScHandle service, std::uint32_t* currentState) override;
  Status CloseServiceHandle(ScHandle handle) override;

  std::size_t OpenHandleCount() const { return open_.size(); }

 private:
  struct OpenEntry {
    std::wstring server;
    std::wstring service;  // empty for a manager handle
  };
  ScHandle Track(OpenEntry entry);

  std::map<std::wstring, std::map<std::wstring, ServiceEntry>> servers_;  // lower-case names
  std::map<ScHandle, OpenEntry> open_;
  ScHandle nextHandle_ = 0x2000;
};
