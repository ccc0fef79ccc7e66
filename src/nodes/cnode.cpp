// Gathering one server: its registry first (interfaces, switch address, feature state), then its
// service control manager (the four AutoStart services).
#include "nodes/cnode.h"

#include <algorithm>
#include <cstdint>

#include "app/install_log.h"
#include "common/text_characters.h"
#include "common/text_encoding.h"
#include "common/text_format.h"
#include "nodes/registry_number.h"
#include "nodes/registry_paths.h"

namespace {
// RegEnumKeyExW's name buffer, terminator included.
constexpr std::uint32_t kSubkeyNameBufferChars = 255;

// The reader's buffer holds 255 characters, but only 255 bytes of data are accepted into it:
// a string of 126 characters and its terminator fits, one of 127 does not.
constexpr std::uint32_t kValueDataLimitBytes = 255;

struct NicSlot {
  const wchar_t* connectionName;
  cNIC NodeRecord::*nic;
  const wchar_t* subnetMaskLine;
  const wchar_t* subnetLine;
  // Only the CLAN connection carries the cluster's gateway and DNS domain.
  bool readsGatewayAndDomain;
};

// In the order the interfaces' details are compared and logged.
constexpr NicSlot kNicSlots[] = {
    {L"CLAN", &NodeRecord::Clan, L"\tCLAN IP Subnet Mask = %s", L"\tCLAN IP Subnet = %s", true},
    {L"ELAN", &NodeRecord::Elan, L"\tELAN IP Subnet Mask = %s", L"\tELAN IP Subnet = %s", false},
    {L"HB1", &NodeRecord::Hb1, L"\tHB1 IP Subnet Mask = %s", L"\tHB1 IP Subnet = %s", false},
    {L"MIRROR", &NodeRecord::Mirror, L"\tMIRROR IP Subnet Mask = %s", L"\tMIRROR IP Subnet = %s", false},
    {L"HB2", &NodeRecord::Hb2, L"\tHB2 IP Subnet Mask = %s", L"\tHB2 IP Subnet = %s", false},
};

struct ServiceQuery {
  std::wstring name;
  std::wstring NodeRecord::*stateField;
};

// The current-state values of the service status record, 1 (stopped) to 7 (paused).
const wchar_t* ServiceStateText(std::uint32_t state) {
  static const wchar_t* const kTexts[] = {L"Stopped",          L"Start pending", L"Stop pending", L"Running",
                                          L"Continue pending", L"Pause pending", L"Paused"};
  return state >= 1 && state <= 7 ? kTexts[state - 1] : L"Unknown";
}

const wchar_t* FeatureStateText(std::uint32_t mode) {
  switch (mode) {
    case 0: return L"HA not enabled";
    case 1: return L"HA enabled";
    default: return L"Unknown";
  }
}

// Registry strings need not end in a NUL, and a multi-string holds several: the strings run to
// the end of the data actually returned, never beyond it, and an empty string ends a
// multi-string. There is always a first string, empty for empty data.
std::vector<std::wstring> SplitRegistryStrings(const std::wstring& text) {
  std::vector<std::wstring> strings;
  std::size_t start = 0;
  do {
    const std::size_t end = std::min(text.find(L'\0', start), text.size());
    if (end == start && !strings.empty()) break;
    strings.push_back(text.substr(start, end - start));
    start = end + 1;
  } while (start < text.size());
  return strings;
}
}  // namespace

// --- The whole gathering -----------------------------------------------------------------------

Status cNode::GetNodeInfo() {
  if (HostName.empty()) {
    log_->Info(L"cNode::GetNodeInfo(): host name specified is empty.");
    return status::InvalidParameter;
  }
  log_->Info(FormatText(L"Hostname = %s", {HostName}));
  Status rc = GatherFromRegistry();
  // The connection lives only for the registry stages, whichever way they ended.
  RemoteRegistry.Close();
  if (rc != status::Success) return rc;
  return GatherServiceStates();
}

Status cNode::GatherFromRegistry() {
  const std::wstring machineName = L"\\\\" + HostName;
  RemoteRegistry.Close();
  Status rc = platform_->registry.ConnectRegistry(machineName, RemoteRegistry.Receive());
  if (rc != status::Success) {
    ownerlessBox_->Show(FormatText(L"Unable to connect to the registry on server %s.", {HostName}));
    log_->Error(FormatText(L"RegConnectRegistry(%s) failed. rc = %ld", {machineName, rc}));
    return rc;
  }
  rc = GetNICUUIDs();
  if (rc != status::Success) {
    ownerlessBox_->Show(FormatText(L"Unable to get the NIC UUIDs from the registry on server %s.", {HostName}));
    log_->Error(FormatText(L"GetNICUUIDs failed on host %s. rc = %ld", {HostName, rc}));
    return rc;
  }
  rc = GetNICDetails();
  if (rc != status::Success) {
    ownerlessBox_->Show(
        FormatText(L"Unable to get the NIC IP information from the registry on server %s.", {HostName}));
    log_->Error(FormatText(L"GetNICDetails failed on host %s. rc = %ld", {HostName, rc}));
    return rc;
  }
  std::wstring switchIpAddress;
  rc = GetRegKeyStringValue(kProductKey, kSwitchIpAddressValue, switchIpAddress);
  if (rc != status::Success) {
    ownerlessBox_->Show(
        FormatText(L"Unable to read the Switch IP information from the registry on server %s.", {HostName}));
    log_->Error(FormatText(L"GetRegKeyStringValue(%s,%s) failed. rc = %ld", {kProductKey, kSwitchIpAddressValue, rc}));
    return rc;
  }
  SwitchIpAddress = switchIpAddress;
  log_->Info(FormatText(L"\tSwitch IP Address = %s", {SwitchIpAddress}));
  rc = GetHighAvailabilityStatus();
  if (rc != status::Success) {
    ownerlessBox_->Show(FormatText(L"Unable to get the high availability feature status on host %s.", {HostName}));
    log_->Error(FormatText(L"GetHighAvailabilityStatus failed on host %s. rc = %ld", {HostName, rc}));
    return rc;
  }
  return status::Success;
}

// A missing, stopped or hung service is a state; only an unexpected failure stops the queries.
Status cNode::GatherServiceStates() {
  ServiceControl& services = platform_->services;
  ScopedScHandle manager(services);
  Status rc = services.OpenServiceManager(HostName, manager.Receive());
  if (rc != status::Success) {
    log_->Error(FormatText(L"OpenSCManager(%s) failed. rc = %ld", {HostName, rc}));
    return rc;
  }
  const ServiceQuery queries[] = {
      {AutoStartDomain, &NodeRecord::AgentServiceStatus},
      {AutoStartDomain + L"_BACKBONE", &NodeRecord::BackboneServiceStatus},
      {L"EMC AutoStart Mirror Service", &NodeRecord::MirrorServiceStatus},
      {L"EMC AutoStart Transport Service", &NodeRecord::TransportServiceStatus},
  };
  for (const ServiceQuery& query : queries) {
    std::wstring& stateText = this->*query.stateField;
    rc = GetServiceStatus(manager.get(), query.name, stateText);
    if (rc != status::Success) {
      log_->Error(FormatText(L"GetServiceStatus(%s) failed. rc = %ld", {query.name, rc}));
      return rc;
    }
    log_->Info(FormatText(L"\t%s service status = %s", {query.name, stateText}));
  }
  return status::Success;
}

// --- Registry values ---------------------------------------------------------------------------

Status cNode::GetRegKeyStringValue(std::wstring keyPath, std::wstring valueName, std::wstring& result) {
  std::vector<std::wstring> strings;
  const Status rc = GetRegKeyStrings(keyPath, valueName, strings);
  if (!strings.empty()) result = std::move(strings.front());
  return rc;
}

Status cNode::GetRegKeyStrings(const std::wstring& keyPath, const std::wstring& valueName,
                               std::vector<std::wstring>& strings) {
  if (!RemoteRegistry.IsOpen()) {
    log_->Error(FormatText(L"GetRegKeyStringValue(%s, %s) failed. Registry handle is NULL.", {keyPath, valueName}));
    return status::InvalidHandle;
  }
  Registry& registry = platform_->registry;
  RegKey key(registry);
  Status rc = OpenRemoteKey(keyPath, key);
  if (rc != status::Success) return rc;
  std::uint8_t data[kValueDataLimitBytes] = {};
  std::uint32_t size = kValueDataLimitBytes;
  rc = registry.QueryValue(key.get(), valueName, data, &size);
  if (rc != status::Success) {
    log_->Error(FormatText(L"RegQueryValueEx(%s) failed. rc = %ld", {valueName, rc}));
    // A value that could not be read reads as empty; a key that could not be opened leaves the
    // caller's result as it was.
    strings.assign(1, std::wstring());
    return rc;
  }
  // An odd last byte is half a character and is dropped.
  std::vector<std::wstring> read =
      SplitRegistryStrings(WideFromUtf16LeBytes(data, size < kValueDataLimitBytes ? size : kValueDataLimitBytes));
  // Every value read here ends up one a line in the installer's files, where a line break inside
  // a value would shift every line below it: such a value is corrupt data, not a value.
  for (const std::wstring& text : read) {
    if (HoldsControlCharacter(text)) {
      log_->Error(FormatText(L"GetRegKeyStringValue(%s, %s) failed. The value holds a control character.",
                             {keyPath, valueName}));
      return status::InvalidData;
    }
  }
  strings = std::move(read);
  return status::Success;
}

// Opens `keyPath` below the connection for reading; a failure is logged with the path.
Status cNode::OpenRemoteKey(const std::wstring& keyPath, RegKey& key) {
  const Status rc = platform_->registry.OpenKey(RemoteRegistry.get(), keyPath, key.Receive());
  if (rc != status::Success) log_->Error(FormatText(L"RegOpenKeyEx(%s) failed. rc = %ld", {keyPath, rc}));
  return rc;
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

// --- Interfaces --------------------------------------------------------------------------------

Status cNode::GetNICUUIDs() {
  if (!RemoteRegistry.IsOpen()) {
    log_->Error(FormatText(L"GetNICUUIDs(%s) failed. Registry handle is NULL.", {HostName}));
    return status::InvalidHandle;
  }
  OtherConnectionNames.clear();
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
    bool named = false;
    for (const NicSlot& slot : kNicSlots) {
      if (name == slot.connectionName) {
        cNIC& nic = this->*slot.nic;
        nic.ConnectionName = name;
        nic.Uuid = subkey;
        named = true;
      }
    }
    if (!named) OtherConnectionNames.push_back(name);
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
      const Status rc =
          ReadInterface(nic, interfacePath, slot.subnetMaskLine, slot.subnetLine, slot.readsGatewayAndDomain);
      if (rc != status::Success) return rc;
    }
    return status::Success;
  });
}

// One matched interface; a failed read ends the whole walk, keeping what was already stored.
Status cNode::ReadInterface(cNIC& nic, const std::wstring& interfacePath, const wchar_t* subnetMaskLine,
                            const wchar_t* subnetLine, bool readsGatewayAndDomain) {
  std::vector<std::wstring> addresses;
  Status rc = GetRegKeyStrings(interfacePath, L"IPAddress", addresses);
  if (rc != status::Success) {
    // This line names the reader "GetRemoteRegKey", unlike every other caller's line; the install
    // log's readers know it by that name, so it stays.
    log_->Error(FormatText(L"GetRemoteRegKey(%s,%s) failed. rc = %ld", {interfacePath, L"IPAddress", rc}));
    return rc;
  }
  nic.IpAddress = addresses.front();
  nic.IpAddresses = std::move(addresses);
  rc = ReadInterfaceValue(interfacePath, L"SubnetMask", nic.SubnetMask);
  if (rc != status::Success) return rc;
  // Bad input is logged by the calculation itself, and the subnet keeps its former value.
  nic.CalculateSubnet(*log_);
  log_->Info(FormatText(subnetMaskLine, {nic.SubnetMask}));
  log_->Info(FormatText(subnetLine, {nic.Subnet}));
  if (!readsGatewayAndDomain) return status::Success;
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

// --- Feature state and services ----------------------------------------------------------------

Status cNode::GetHighAvailabilityStatus() {
  if (!RemoteRegistry.IsOpen()) {
    log_->Error(FormatText(L"GetHighAvailabilityStatus(%s) failed. Registry handle is NULL.", {HostName}));
    return status::InvalidHandle;
  }
  Registry& registry = platform_->registry;
  RegKey key(registry);
  Status rc = OpenRemoteKey(kProductKey, key);
  if (rc != status::Success) return rc;
  std::uint32_t mode = 0;
  rc = QueryRegistryNumber(registry, key.get(), kHighAvailModeValue, &mode);
  key.Close();
  if (rc == status::FileNotFound) {
    // Only a missing value under an existing key means the feature was never installed.
    HaFeatureStatus = L"HA not installed";
  } else if (rc != status::Success) {
    log_->Error(FormatText(L"RegQueryValueEx(%s) failed. rc = %ld", {kHighAvailModeValue, rc}));
    return rc;
  } else {
    HaFeatureStatus = FeatureStateText(mode);
  }
  log_->Info(FormatText(L"\tHigh Availability Feature = %s", {HaFeatureStatus}));
  return status::Success;
}

Status cNode::GetServiceStatus(ScHandle serviceManager, std::wstring serviceName, std::wstring& stateText) {
  if (serviceManager == 0) {
    log_->Error(FormatText(L"GetServiceStatus(%s) failed. SCM handle is NULL.", {serviceName}));
    return status::InvalidHandle;
  }
  if (serviceName.empty()) {
    log_->Error(FormatText(L"GetServiceStatus(%s) failed. ServiceName is invalid.", {serviceName}));
    return status::InvalidParameter;
  }
  ServiceControl& services = platform_->services;
  ScopedScHandle service(services);
  Status rc = services.OpenNamedService(serviceManager, serviceName, service.Receive());
  if (rc == status::ServiceDoesNotExist) {
    log_->Info(FormatText(L"OpenService(%s): Service does not exist.", {serviceName}));
    stateText = L"Not installed";
    return status::Success;
  }
  if (rc != status::Success) {
    log_->Error(FormatText(L"OpenService(%s) failed. rc = %ld", {serviceName, rc}));
    return rc;
  }
  std::uint32_t state = 0;
  rc = services.Interrogate(service.get(), &state);
  switch (rc) {
    case status::Success: stateText = ServiceStateText(state); return status::Success;
    // A service that is hung, busy or stopped cannot answer; each is a state of its own.
    case status::ServiceRequestTimeout: stateText = L"Timeout"; return status::Success;
    case status::ServiceCannotAcceptCtrl: stateText = L"Unknown"; return status::Success;
    case status::ServiceNotActive: stateText = L"Not started"; return status::Success;
    default: log_->Error(FormatText(L"ControlService(%s) failed. rc = %ld", {serviceName, rc})); return rc;
  }
}
