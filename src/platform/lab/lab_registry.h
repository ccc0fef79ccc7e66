// The registry of every server in a lab, reached through the same calls as the real one.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/lab/registry_tree.h"
#include "platform/registry.h"

class LabRegistry : public Registry {
 public:
  // `localServer` names the server that is this computer (its HKEY_LOCAL_MACHINE is LocalMachine()).
  explicit LabRegistry(std::wstring localServer);

  // The HKEY_LOCAL_MACHINE of `server`, created empty on first use.
  RegistryKeyNode& ServerRoot(const std::wstring& server);
  bool HasServer(const std::wstring& server) const;

  RegHandle LocalMachine() const override;
  Status ConnectRegistry(const std::wstring& machineName, RegHandle* result) override;
  Status OpenKey(RegHandle parent, const std::wstring& subKey, RegHandle* result) override;
  Status EnumKey(RegHandle key, std::uint32_t index, std::uint32_t bufferChars, std::wstring* name) override;
  Status QueryValue(RegHandle key, const std::wstring& valueName, void* data, std::uint32_t* dataBytes) override;
  Status CloseKey(RegHandle key) override;

  // Keys and connections opened and not yet closed: a test asserts that this is 0 after any path.
  std::size_t OpenHandleCount() const { return open_.size(); }

 private:
  struct OpenKeyEntry {
    RegistryKeyNode* key;
  };
  RegistryKeyNode* Resolve(RegHandle handle) const;
  RegHandle Track(RegistryKeyNode* key);

  std::wstring localServer_;
  std::map<std::wstring, std::unique_ptr<RegistryKeyNode>> servers_;  // by lower-case name
  std::map<RegHandle, OpenKeyEntry> open_;
  RegHandle nextHandle_ = 0x1000;
};
