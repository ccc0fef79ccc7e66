// The registry of every server in a lab, reached through the same calls as the real one.
#include "platform/lab/lab_registry.h"

#include <cstring>

#include "common/text_case.h"

namespace {
// The predefined HKEY_LOCAL_MACHINE of this computer; never in the table of open handles.
constexpr RegHandle kLocalMachineHandle = 0x80000002;
}  // namespace

LabRegistry::LabRegistry(std::wstring localServer) : localServer_(ToLowerAscii(std::move(localServer))) {
  localMachine_.key = &ServerRoot(localServer_);
  localMachine_.server = localServer_;
}

RegistryKeyNode& LabRegistry::ServerRoot(const std::wstring& server) {
  auto& root = servers_[ToLowerAscii(server)];
  if (!root) root = std::make_unique<RegistryKeyNode>(L"HKEY_LOCAL_MACHINE");
  return *root;
}

bool LabRegistry::HasServer(const std::wstring& server) const { return servers_.count(ToLowerAscii(server)) != 0; }

void LabRegistry::SetFaults(const std::wstring& server, LabServerFaults faults) {
  faults_.Set(server, std::move(faults));
}

RegHandle LabRegistry::LocalMachine() const { return kLocalMachineHandle; }

const LabRegistry::OpenKeyEntry* LabRegistry::BeginCall(RegHandle handle) {
  if (handle == kLocalMachineHandle) return &localMachine_;
  const OpenKeyEntry* entry = nullptr;
  {
    const std::lock_guard<std::mutex> lock(openMutex_);
    const auto it = open_.find(handle);
    if (it == open_.end()) return nullptr;
    // The entry stays where it is until its own handle is closed, by the thread that uses it.
    entry = &it->second;
  }
  if (entry->remote) remoteCalls_.Make(FaultsOf(entry->server).latency);
  return entry;
}

RegHandle LabRegistry::Track(OpenKeyEntry entry) {
  const std::lock_guard<std::mutex> lock(openMutex_);
  const RegHandle handle = nextHandle_;
  nextHandle_ += 4;
  open_[handle] = std::move(entry);
  return handle;
}

std::size_t LabRegistry::OpenHandleCount() const {
  const std::lock_guard<std::mutex> lock(openMutex_);
  return open_.size();
}

Status LabRegistry::ConnectRegistry(const std::wstring& machineName, RegHandle* result) {
  const std::wstring host = ServerOfMachineName(machineName);
  const auto it = servers_.find(host);
  const LabServerFaults& faults = FaultsOf(host);
  remoteCalls_.Make(faults.latency);
  if (host.empty() || it == servers_.end() || faults.unreachable) return status::BadNetPath;
  if (faults.registryConnectError != status::Success) return faults.registryConnectError;
  *result = Track({it->second.get(), host, {}, true});
  return status::Success;
}

Status LabRegistry::OpenKey(RegHandle parent, const std::wstring& subKey, RegHandle* result) {
  const OpenKeyEntry* base = BeginCall(parent);
  if (base == nullptr) return status::InvalidHandle;
  // Access is decided by the key reached, whichever handle the path starts from.
  std::wstring path = NormalizedKeyPath(subKey);
  if (!base->path.empty()) path = path.empty() ? base->path : base->path + L"\\" + path;
  if (FaultsOf(base->server).DeniesKey(path)) return status::AccessDenied;
  RegistryKeyNode* key = base->key->FindPath(subKey);
  if (key == nullptr) return status::FileNotFound;
  *result = Track({key, base->server, std::move(path), base->remote});
  return status::Success;
}

Status LabRegistry::EnumKey(RegHandle key, std::uint32_t index, std::uint32_t bufferChars, std::wstring* name) {
  const OpenKeyEntry* entry = BeginCall(key);
  if (entry == nullptr) return status::InvalidHandle;
  const std::lock_guard<std::mutex> lock(enumerationMutex_);
  const auto& subkeys = entry->key->Subkeys();
  if (index >= subkeys.size()) return status::NoMoreItems;
  const std::wstring& found = subkeys[index]->Name();
  if (found.size() + 1 > bufferChars) return status::MoreData;
  *name = found;
  return status::Success;
}

Status LabRegistry::QueryValue(RegHandle key, const std::wstring& valueName, void* data, std::uint32_t* dataBytes) {
  const OpenKeyEntry* entry = BeginCall(key);
  if (entry == nullptr) return status::InvalidHandle;
  const RegistryValue* value = entry->key->FindValue(valueName);
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

Status LabRegistry::EnumValue(RegHandle key, std::uint32_t index, std::wstring* name, std::uint32_t* type,
                              std::vector<std::uint8_t>* data) {
  const OpenKeyEntry* entry = BeginCall(key);
  if (entry == nullptr) return status::InvalidHandle;
  const auto& values = entry->key->Values();
  if (index >= values.size()) return status::NoMoreItems;
  const RegistryValue& value = values[index];
  *name = value.name;
  *type = value.type;
  *data = value.data;
  return status::Success;
}

Status LabRegistry::CloseKey(RegHandle key) {
  if (key == kLocalMachineHandle) return status::Success;
  if (BeginCall(key) == nullptr) return status::InvalidHandle;
  const std::lock_guard<std::mutex> lock(openMutex_);
  open_.erase(key);
  return status::Success;
}
