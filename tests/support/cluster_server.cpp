// Registry exports and service lists of a server prepared for the cluster, for tests and benchmarks.
#include "support/cluster_server.h"

#include <cstdio>

#include "common/text_encoding.h"

namespace {
constexpr wchar_t kClassKey[] =
    L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
constexpr wchar_t kInterfacesKey[] =
    L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";

const wchar_t* const kNamedConnections[] = {L"CLAN", L"ELAN", L"HB1", L"HB2", L"MIRROR"};

std::wstring Number(int value) { return std::to_wstring(value); }
}  // namespace

std::wstring AdapterGuid(int index) {
  wchar_t guid[64];
  std::swprintf(guid, 64, L"{%08X-1111-2222-3333-444455556666}", static_cast<unsigned>(0xA0000000u + index));
  return guid;
}

std::wstring AdapterExport(const std::wstring& guid, const std::wstring* connectionName) {
  std::wstring text = L"[" + std::wstring(kClassKey) + L"\\" + guid + L"]\n";
  if (connectionName != nullptr) {
    text += L"[" + std::wstring(kClassKey) + L"\\" + guid + L"\\Connection]\n";
    text += L"\"Name\"=\"" + *connectionName + L"\"\n";
  }
  return text;
}

std::wstring MultiStringValue(const std::wstring& name, const std::vector<std::wstring>& entries) {
  std::wstring joined;
  for (const auto& entry : entries) joined += entry + L'\0';
  joined += L'\0';
  std::wstring text = L"\"" + name + L"\"=hex(7):";
  bool first = true;
  for (const std::uint8_t byte : Utf16LeBytesFromWide(joined)) {
    wchar_t hex[4];
    std::swprintf(hex, 4, L"%02x", static_cast<unsigned>(byte));
    text += (first ? L"" : L",") + std::wstring(hex);
    first = false;
  }
  return text + L"\n";
}

std::wstring InterfaceExport(const std::wstring& guid, const std::vector<std::wstring>& addresses,
                             const std::vector<std::wstring>& masks, const std::wstring& moreValueLines) {
  return L"[" + std::wstring(kInterfacesKey) + L"\\" + guid + L"]\n" + MultiStringValue(L"IPAddress", addresses) +
         MultiStringValue(L"SubnetMask", masks) + moreValueLines;
}

void AddClusterServer(TempLab& lab, const std::wstring& server, int nodeNumber, int extraAdapters) {
  std::wstring network;
  std::wstring tcpip;
  for (int index = 0; index < 5; ++index) {
    const std::wstring name = kNamedConnections[index];
    network += AdapterExport(AdapterGuid(index + 10 * nodeNumber), &name);
    const std::wstring address = L"10." + Number(index + 1) + L"." + Number(index + 1) + L"." + Number(nodeNumber);
    if (index == 0) {
      tcpip += InterfaceExport(AdapterGuid(index + 10 * nodeNumber), {address, L"10.1.1.200"},
                               {L"255.255.255.0", L"255.255.0.0"},
                               MultiStringValue(L"DefaultGateway", {L"10.1.1.254"}) + L"\"Domain\"=\"ha.example\"\n");
    } else {
      tcpip += InterfaceExport(AdapterGuid(index + 10 * nodeNumber), {address}, {L"255.255.255.0"});
    }
  }
  for (int extra = 0; extra < extraAdapters; ++extra) {
    const int index = 100 + extra;
    const std::wstring name = L"Local Area Connection " + Number(extra + 6);
    network += AdapterExport(AdapterGuid(index), &name);
    tcpip += InterfaceExport(AdapterGuid(index), {L"192.168." + Number(extra % 250) + L".7"}, {L"255.255.255.0"});
  }
  lab.AddRegFile(server, "registry/network.reg", network);
  lab.AddRegFile(server, "registry/tcpip.reg", tcpip);
  lab.AddRegFile(server, "registry/product.reg",
                 L"[HKEY_LOCAL_MACHINE\\Software\\Zandor\\Vestamail\\ConfigWizard]\n"
                 L"\"Switch IP Address\"=\"10.9.9.1\"\n"
                 L"\"HighAvailMode\"=dword:00000001\n");
}

void AddBareServer(TempLab& lab, const std::wstring& server) {
  lab.AddRegFile(server, "registry/bare.reg",
                 L"[" + std::wstring(kClassKey) + L"]\n[" + std::wstring(kInterfacesKey) +
                     L"]\n"
                     L"[HKEY_LOCAL_MACHINE\\Software\\Zandor\\Vestamail\\ConfigWizard]\n"
                     L"\"Switch IP Address\"=\"10.9.9.1\"\n"
                     L"\"HighAvailMode\"=dword:00000001\n");
}

std::string ClusterServiceList(const std::wstring& domain, int state) {
  const std::string domainText = Utf8FromWide(domain);
  static const char* const kWords[] = {"",        "STOPPED",          "START_PENDING", "STOP_PENDING",
                                       "RUNNING", "CONTINUE_PENDING", "PAUSE_PENDING", "PAUSED"};
  const std::string word = state >= 1 && state <= 7 ? kWords[state] : "UNKNOWN";
  const std::string stateLine = "        STATE              : " + std::to_string(state) + "  " + word + "\r\n";
  std::string text;
  for (const std::string& name : {domainText, domainText + "_BACKBONE", std::string("EMC AutoStart Mirror Service"),
                                  std::string("EMC AutoStart Transport Service")}) {
    text += "SERVICE_NAME: " + name + "\r\n" + stateLine + "\r\n";
  }
  return text;
}
