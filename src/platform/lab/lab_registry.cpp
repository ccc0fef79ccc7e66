// The registry of every server in a lab, reached through the same calls as the real one.
#include "platform/lab/lab_registry.h"

#include <cstring>

#include "common/text_case.h"

namespace {
// The predefined HKEY_LOCAL_MACHINE of this computer; never in the table of open handles.
constexpr RegHandle kLocalMachineHandle = 0x80000002;
}  // namespace

LabRegistry::LabRegistry(std::wstring localServer) : localServer_(ToLowerAscii(std::move(localServer))) {
  ServerRoot(localServer_);
}

RegistryKeyNode& LabRegistry::ServerRoot(const std::wstring& server) {
  auto& root = servers_[ToLowerAscii(server)];
  if (!root) root = std::make_unique<RegistryKeyNode>(L"HKEY_LOCAL_MACHINE");
  return *root;
}

bool LabRegistry::HasServer(const std::wstring& server) const { return servers_.count(ToLowerAscii(server)) != 0; }

RegHandle LabRegistry::LocalMachine() const { return kLocalMachineHandle; }

RegistryKeyNode* LabRegistry::Resolve(RegHandle handle) const {
  if (handle == kLocalMachineHandle) return servers_.at(localServer_).get();
  const auto it = open_.find(handle);
  return it == open_.end() ? nullptr : it->second.key;
}

RegHandle LabRegistry::Track(RegistryKeyNode* key) {
  const RegHandle handle = nextHandle_;
  nextHandle_ += 4;
  open_[handle] = {key};
  return handle;
}

Status LabRegistry::ConnectRegistry(const std::wstring& machineName, RegHandle* result) {
  std::wstring host = machineName;
  while (!host.empty() && host.front() == L'\\') host.erase(0, 1);
  const auto it = servers_.find(ToLowerAscii(host));
  if (host.empty() || it == servers_.end()) return status::BadNetPath;
  *result = Track(it->second.get());
  return status::Success;
}

Status LabRegistry::OpenKey(RegHandle parent, const std::wstring& subKey, RegHandle* result) {
  RegistryKeyNode* base = Resolve(parent);
  if (base == nullptr) return status::InvalidHandle;
  RegistryKeyNode* key = base->FindPath(subKey);
  if (key == nullptr) return status::FileNotFound;
  *result = Track(key);
  return status::Success;
}

Status LabRegistry::EnumKey(RegHandle key, std::uint32_t index, std::uint32_t bufferChars, std::wstring* name) {
  RegistryKeyNode* node = Resolve(key);
  if (node == nullptr) return status::InvalidHandle;
  const auto& subkeys = node->Subkeys();
  if (index >= subkeys.size()) return status::NoMoreItems;
  const std::wstring& found = subkeys[index]->Name();
  if (found.size() + 1 > bufferChars) return status::MoreData;
  *name = found;
  return status::Success;
}

Status LabRegistry::QueryValue(RegHandle key, const std::wstring& valueName, void* data, std::uint32_t* dataBytes) {
  RegistryKeyNode* node = Resolve(key);
  if (node == nullptr) return status::InvalidHandle;
  const RegistryValue* value = node->FindValue(valueName);
  if (value == nullptr) return status::FileNotFound;
  const auto needed = static_cast<std::uint32_t>(value->data.size());
  if (data == nullptr) {
    *dataBytes = needed;
    return status::Success;
  }
  if (needed > *dataBytes) {
    *dataBytes = needed;
    return status::MoreData;
  }
  if (needed > 0) std::memcpy(data, value->data.data(), needed);
  *dataBytes = needed;
  return status::Success;
}

Status LabRegistry::CloseKey(RegHandle key) {
  if (key == kLocalMachineHandle) return status::Success;
  return open_.erase(key) == 1 ? status::Success : status::InvalidHandle;
}
