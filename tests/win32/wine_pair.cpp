// A cluster pair in Wine's real registry and service manager.
#include "wine_pair.h"

#include "common/text_case.h"
#include "nodes/registry_paths.h"
#include "peer_registry.h"

namespace {
std::wstring Below(const std::wstring& root, const std::wstring& path) {
  return root.empty() ? path : root + L"\\" + path;
}
std::wstring InterfaceKeyOf(const std::wstring& guid) { return std::wstring(kInterfacesKey) + L"\\" + guid; }
}  // namespace

void AddWineServer(RegFileText& file, const std::wstring& root, const std::vector<WinePairConnection>& connections,
                   const std::wstring& clanDomain) {
  const std::wstring classKey = Below(root, kNetworkClassKey);
  for (const WinePairConnection& connection : connections) {
    file.Key(classKey + L"\\" + connection.guid + L"\\Connection").String(L"Name", connection.name);
    std::vector<std::wstring> masks(connection.addresses.size(), connection.mask);
    file.Key(Below(root, InterfaceKeyOf(connection.guid)))
        .MultiString(L"IPAddress", connection.addresses)
        .MultiString(L"SubnetMask", masks)
        .MultiString(L"DefaultGateway", {});
  }
  // CLAN's gateway and domain; the others keep an empty gateway list.
  file.Key(Below(root, InterfaceKeyOf(connections.front().guid)))
      .MultiString(L"DefaultGateway", {L"10.1.1.1"})
      .String(L"Domain", clanDomain);
  // Adapters the wizard passes over: another connection with an interface of its own, one whose
  // name is empty, and a class subkey that is no adapter.
  file.Key(classKey + L"\\{d00000f1-5eed-4d0c-a000-0000000000f1}\\Connection")
      .String(L"Name", L"Local Area Connection 6");
  file.Key(Below(root, InterfaceKeyOf(L"{d00000f1-5eed-4d0c-a000-0000000000f1}")))
      .MultiString(L"IPAddress", {L"192.168.50.7"})
      .MultiString(L"SubnetMask", {L"255.255.255.0"});
  file.Key(classKey + L"\\{D00000F2-5EED-4D0C-A000-0000000000F2}\\Connection").String(L"Name", L"");
  file.Key(classKey + L"\\Descriptions").String(L"Ethernet Adapter", L"1");
  file.Key(Below(root, kProductKey)).String(kSwitchIpAddressValue, L"10.2.2.250").Dword(kHighAvailModeValue, 1);
}

std::vector<WinePairConnection> WinePairConnections(int series, int host) {
  const std::wstring h = std::to_wstring(host);
  const struct {
    const wchar_t* name;
    std::vector<std::wstring> addresses;
  } kLinks[] = {{L"CLAN", {L"10.1.1." + h, L"10.1.1." + std::to_wstring(host + 90)}},
                {L"ELAN", {L"10.2.2." + h}},
                {L"HB1", {L"192.168.101." + h}},
                {L"HB2", {L"192.168.102." + h}},
                {L"MIRROR", {L"192.168.103." + h}}};
  std::vector<WinePairConnection> connections;
  int link = 1;
  for (const auto& each : kLinks) {
    const std::wstring number = std::to_wstring(series) + std::to_wstring(link);
    std::wstring guid = L"{D00000" + number + L"-5EED-4D0C-A000-0000000000" + number + L"}";
    // The registry keeps the case a GUID was written in; the wizard must match it either way.
    if (link % 2 == 0) guid = ToLowerAscii(guid);
    connections.push_back({each.name, guid, each.addresses, L"255.255.255.0"});
    ++link;
  }
  return connections;
}

RegFileText WinePairRegistry(const std::vector<WinePairConnection>& node1, const std::vector<WinePairConnection>& node2,
                             const std::wstring& clanDomain) {
  RegFileText file;
  AddWineServer(file, L"", node1, clanDomain);
  AddWineServer(file, kPeerRoot, node2, clanDomain);
  return file;
}

std::vector<std::wstring> WinePairOwnedKeys(const std::vector<WinePairConnection>& node1) {
  std::vector<std::wstring> owned = {kNetworkClassKey, kProductKey, kPeerRoot};
  for (const WinePairConnection& connection : node1) owned.push_back(InterfaceKeyOf(connection.guid));
  owned.push_back(InterfaceKeyOf(L"{d00000f1-5eed-4d0c-a000-0000000000f1}"));
  return owned;
}
