// The registry of every server in a lab, reached through the same calls as the real one.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/lab/lab_faults.h"
#include "platform/lab/registry_tree.h"
#include "platform/lab/remote_calls.h"
#include "platform/registry.h"

// Two servers may be read at once, each on its own thread: the table of open handles is shared
// and locked; the keys and values are only read while calls run, and the wait a remote call
// takes is made outside the lock, so that one server's latency never holds up the other.
class LabRegistry : public Registry {
 public:
  // `localServer` names the server that is this computer (its HKEY_LOCAL_MACHINE is LocalMachine()).
  explicit LabRegistry(std::wstring localServer);

  // The HKEY_LOCAL_MACHINE of `server`, created empty on first use.
  RegistryKeyNode& ServerRoot(const std::wstring& server);
  bool HasServer(const std::wstring& server) const;
  // Replaces the faults `server` shows from now on (see LabServerFaults).
  void SetFaults(const std::wstring& server, LabServerFaults faults);

  RegHandle LocalMachine() const override;
  Status ConnectRegistry(const std::wstring& machineName, RegHandle* result) override;
  Status OpenKey(RegHandle parent, const std::wstring& subKey, RegHandle* result) override;
  Status EnumKey(RegHandle key, std::uint32_t index, std::uint32_t bufferChars, std::wstring* name) override;
  Status QueryValue(RegHandle key, const std::wstring& valueName, void* data, std::uint32_t* dataBytes) override;
  Status EnumValue(RegHandle key, std::uint32_t index, std::wstring* name, std::uint32_t* type,
                   std::vector<std::uint8_t>* data) override;
  Status CloseKey(RegHandle key) override;

  // Keys and connections opened and not yet closed: a test asserts that this is 0 after any path.
  std::size_t OpenHandleCount() const;
  // Calls that went over the network: ConnectRegistry and every call on what it opened.
  std::uint64_t RemoteCallCount() const { return remoteCalls_.Count(); }

 private:
  struct OpenKeyEntry {
    RegistryKeyNode* key = nullptr;
    std::wstring server;  // lower-case
    std::wstring path;    // below HKEY_LOCAL_MACHINE, as NormalizedKeyPath gives it
    bool remote = false;  // reached through ConnectRegistry rather than LocalMachine()
  };
  // The entry of an open handle or of LocalMachine(); null for anything else. A remote one
  // is counted and waited for, as the call that uses it goes over the network.
  const OpenKeyEntry* BeginCall(RegHandle handle);
  const LabServerFaults& FaultsOf(const std::wstring& server) const { return faults_.Of(server); }
  RegHandle Track(OpenKeyEntry entry);

  std::wstring localServer_;
  std::map<std::wstring, std::unique_ptr<RegistryKeyNode>> servers_;  // by lower-case name
  LabFaultTable faults_;
  OpenKeyEntry localMachine_;
  mutable std::mutex openMutex_;  // guards open_ and nextHandle_
  // A key's enumeration order is made on first use after a change: two readings must not both make it.
  std::mutex enumerationMutex_;
  std::map<RegHandle, OpenKeyEntry> open_;
  RegHandle nextHandle_ = 0x1000;
  RemoteCalls remoteCalls_;
};
