// The service control manager of every server in a lab.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>

#include "platform/lab/lab_faults.h"
#include "platform/lab/remote_calls.h"
#include "platform/services.h"

// Like LabRegistry, safe for two servers read at once: the table of open handles is locked, and
// the wait of a remote call is made outside the lock.
class LabServiceControl : public ServiceControl {
 public:
  struct ServiceEntry {
    std::uint32_t state = 4;  // 1 stopped ... 7 paused
  };

  // Declares a server (so that its manager can be opened) and, optionally, its services.
  void AddServer(const std::wstring& server);
  void AddService(const std::wstring& server, const std::wstring& serviceName, ServiceEntry entry);
  // Replaces the faults `server` shows from now on (see LabServerFaults).
  void SetFaults(const std::wstring& server, LabServerFaults faults);

  Status OpenServiceManager(const std::wstring& machine, ScHandle* result) override;
  Status OpenNamedService(ScHandle manager, const std::wstring& serviceName, ScHandle* result) override;
  Status Interrogate(ScHandle service, std::uint32_t* currentState) override;
  Status CloseServiceHandle(ScHandle handle) override;

  std::size_t OpenHandleCount() const;
  // Every call above: the program always reaches a manager by name, so each one is remote.
  std::uint64_t RemoteCallCount() const { return remoteCalls_.Count(); }

 private:
  struct OpenEntry {
    std::wstring server;
    std::wstring service;  // empty for a manager handle
  };
  ScHandle Track(OpenEntry entry);
  // The entry of an open handle (null for anything else), after the call's trip over the network.
  const OpenEntry* BeginCall(ScHandle handle);
  const LabServerFaults& FaultsOf(const std::wstring& server) const { return faults_.Of(server); }

  std::map<std::wstring, std::map<std::wstring, ServiceEntry>> servers_;  // lower-case names
  LabFaultTable faults_;
  mutable std::mutex openMutex_;  // guards open_ and nextHandle_
  std::map<ScHandle, OpenEntry> open_;
  ScHandle nextHandle_ = 0x2000;
  RemoteCalls remoteCalls_;
};
