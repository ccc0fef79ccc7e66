// Finding a server's five named connections: their GUIDs by name, then their TCP/IP settings.
#include <cstdint>
#include <functional>

#include "app/install_log.h"
#include "common/text_format.h"
#include "nodes/cnode.h"
#include "nodes/registry_paths.h"

namespace {
// RegEnumKeyExW's name buffer, terminator included.
constexpr std::uint32_t kSubkeyNameBufferChars = 255;

struct NicSlot {
  const wchar_t* connectionName;
  cNIC cNode::*nic;
  const wchar_t* subnetMaskLine;
  const wchar_t* subnetLine;
};

// In the order the interfaces' details are compared and logged.
constexpr NicSlot kNicSlots[] = {
    {L"CLAN", &cNode::Clan, L"\tCLAN IP Subnet Mask = %s", L"\tCLAN IP Subnet = %s"},
    {L"ELAN", &cNode::Elan, L"\tELAN IP Subnet Mask = %s", L"\tELAN IP Subnet = %s"},
    {L"HB1", &cNode::Hb1, L"\tHB1 IP Subnet Mask = %s", L"\tHB1 IP Subnet = %s"},
    {L"MIRROR", &cNode::Mirror, L"\tMIRROR IP Subnet Mask = %s", L"\tMIRROR IP Subnet = %s"},
    {L"HB2", &cNode::Hb2, L"\tHB2 IP Subnet Mask = %s", L"\tHB2 IP Subnet = %s"},
};
constexpr const NicSlot& kClanSlot = kNicSlots[0];
}  // namespace

Status cNode::GetNICUUIDs() {
  if (!RemoteRegistry.IsOpen()) {
    log_->Error(FormatText(L"GetNICUUIDs(%s) failed. Registry handle is NULL.", {HostName}));
    return status::InvalidHandle;
  }
  return WalkSubkeys(kNetworkClassKey, [this](const std::wstring& subkey) {
    // Adapters are the subkeys named by a GUID; the class key holds other subkeys too.
    if (subkey.empty() || subkey.front() != L'{') return status::Success;
    const std::wstring connectionPath = FormatText(L"%s\\%s\\Connection", {kNetworkClassKey, subkey});
    std::wstring name;
    const Status rc = GetRegKeyStringValue(connectionPath, L"Name", name);
    if (rc != status::Success) {
      log_->Error(FormatText(L"GetRegKeyStringValue(%s,%s) failed. rc = %ld", {connectionPath, L"Name", rc}));
      return rc;
    }
    // Every slot is compared, so a later adapter of the same name takes the slot over.
    for (const NicSlot& slot : kNicSlots) {
      if (name == slot.connectionName) {
        cNIC& nic = this->*slot.nic;
        nic.ConnectionName = name;
        nic.Uuid = subkey;
      }
    }
    return status::Success;
  });
}

Status cNode::GetNICDetails() {
  if (!RemoteRegistry.IsOpen()) {
    log_->Error(FormatText(L"GetNICDetails(%s) failed. Registry handle is NULL.", {HostName}));
    return status::InvalidHandle;
  }
  return WalkSubkeys(kInterfacesKey, [this](const std::wstring& subkey) {
    const std::wstring interfacePath = FormatText(L"%s\\%s", {kInterfacesKey, subkey});
    for (const NicSlot& slot : kNicSlots) {
      cNIC& nic = this->*slot.nic;
      if (nic.Uuid.empty() || subkey != nic.Uuid) continue;
      const Status rc = ReadInterface(nic, interfacePath, slot.subnetMaskLine, slot.subnetLine, &slot == &kClanSlot);
      if (rc != status::Success) return rc;
    }
    return status::Success;
  });
}

// Opens `keyPath` below the connection and hands it each subkey name in the registry's order;
// a failure of the walk or of `visit` ends it with that code, the key closed either way.
Status cNode::WalkSubkeys(const wchar_t* keyPath, const std::function<Status(const std::wstring&)>& visit) {
  Registry& registry = platform_->registry;
  RegKey key(registry);
  Status rc = OpenRemoteKey(keyPath, key);
  if (rc != status::Success) return rc;
  for (std::uint32_t index = 0;; ++index) {
    std::wstring subkey;
    rc = registry.EnumKey(key.get(), index, kSubkeyNameBufferChars, &subkey);
    if (rc == status::NoMoreItems) return status::Success;
    if (rc != status::Success) {
      log_->Error(FormatText(L"RegEnumKeyEx(%s) failed. rc = %ld", {keyPath, rc}));
      return rc;
    }
    rc = visit(subkey);
    if (rc != status::Success) return rc;
  }
}

// One matched interface; a failed read ends the whole walk, keeping what was already stored.
Status cNode::ReadInterface(cNIC& nic, const std::wstring& interfacePath, const wchar_t* subnetMaskLine,
                            const wchar_t* subnetLine, bool isClan) {
  std::wstring text;
  Status rc = GetRegKeyStringValue(interfacePath, L"IPAddress", text);
  if (rc != status::Success) {
    log_->Error(FormatText(L"GetRemoteRegKey(%s,%s) failed. rc = %ld", {interfacePath, L"IPAddress", rc}));
    return rc;
  }
  nic.IpAddress = text;
  rc = ReadInterfaceValue(interfacePath, L"SubnetMask", nic.SubnetMask);
  if (rc != status::Success) return rc;
  // Bad input is logged by the calculation itself, and the subnet keeps its former value.
  nic.CalculateSubnet(*log_);
  log_->Info(FormatText(subnetMaskLine, {nic.SubnetMask}));
  log_->Info(FormatText(subnetLine, {nic.Subnet}));
  if (!isClan) return status::Success;
  rc = ReadInterfaceValue(interfacePath, L"DefaultGateway", nic.DefaultGateway);
  if (rc != status::Success) return rc;
  log_->Info(FormatText(L"\tCLAN default gateway = %s", {nic.DefaultGateway}));
  rc = ReadInterfaceValue(interfacePath, L"Domain", nic.Domain);
  if (rc != status::Success) return rc;
  log_->Info(FormatText(L"\tCLAN Domain = %s", {nic.Domain}));
  return status::Success;
}

// Stores the value in `field` only when it was read.
Status cNode::ReadInterfaceValue(const std::wstring& interfacePath, const wchar_t* valueName, std::wstring& field) {
  std::wstring text;
  const Status rc = GetRegKeyStringValue(interfacePath, valueName, text);
  if (rc != status::Success) {
    log_->Error(FormatText(L"GetRegKeyStringValue(%s,%s) failed. rc = %ld", {interfacePath, valueName, rc}));
    return rc;
  }
  field = std::move(text);
  return status::Success;
}
