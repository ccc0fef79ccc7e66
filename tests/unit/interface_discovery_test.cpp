// Finding the five named connections by name and reading their TCP/IP settings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/cluster_server.h"
#include "support/node_on_lab.h"

namespace {
constexpr wchar_t kClassKey[] = L"SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
constexpr wchar_t kInterfacesKey[] = L"SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";

std::wstring Named(int index, const std::wstring& name) { return AdapterExport(AdapterGuid(index), &name); }

std::wstring InterfacePath(int index) { return std::wstring(kInterfacesKey) + L"\\" + AdapterGuid(index); }

// Both walks, as gathering runs them.
Status Discover(NodeOnLab& on) {
  const Status rc = on.node.GetNICUUIDs();
  return rc != 0 ? rc : on.node.GetNICDetails();
}
}  // namespace

TEST(InterfaceDiscovery, MatchesConnectionNamesExactlyAndLaterAdaptersWin) {
  TempLab temp;
  temp.AddRegFile(L"node-b", "network.reg",
                  Named(0, L"clan") + Named(1, L"CLAN ") + Named(2, L"ELAN") + Named(3, L"HB1") + Named(4, L"HB1") +
                      L"[HKEY_LOCAL_MACHINE\\" + kClassKey + L"\\Descriptions]\n");
  std::wstring tcpip;
  for (int index = 0; index < 5; ++index) {
    tcpip += InterfaceExport(AdapterGuid(index), {L"10.0." + std::to_wstring(index) + L".9"}, {L"255.255.0.0"});
  }
  temp.AddRegFile(L"node-b", "tcpip.reg", tcpip);
  NodeOnLab on(temp);
  ASSERT_EQ(on.Connect(), 0u);
  EXPECT_EQ(Discover(on), 0u);
  EXPECT_EQ(on.node.Clan.Uuid, L"") << "neither \"clan\" nor \"CLAN \" is CLAN";
  EXPECT_EQ(on.node.Elan.Uuid, AdapterGuid(2));
  EXPECT_EQ(on.node.Elan.ConnectionName, L"ELAN");
  EXPECT_EQ(on.node.Elan.Subnet, L"10.0.0.0");
  EXPECT_EQ(on.node.Hb1.Uuid, AdapterGuid(4));
  EXPECT_EQ(on.node.Hb1.IpAddress, L"10.0.4.9");
  EXPECT_EQ(on.node.Hb2.Uuid, L"");
  EXPECT_EQ(on.node.Mirror.IpAddress, L"");
  on.node.RemoteRegistry.Close();
  EXPECT_EQ(on.OpenHandles(), 0u);
}

TEST(InterfaceDiscovery, ReadsInterfacesInRegistryOrderAndLogsTheirSubnets) {
  TempLab temp;
  temp.AddRegFile(L"node-b", "network.reg", Named(1, L"CLAN") + Named(0, L"ELAN") + Named(2, L"Backup"));
  // ELAN's interface comes first in the registry (which sorts subkeys by name); an interface
  // without an adapter is passed over.
  temp.AddRegFile(
      L"node-b", "tcpip.reg",
      InterfaceExport(AdapterGuid(0), {L"172.16.5.20"}, {L"255.255.0.0"}) +
          InterfaceExport(L"{NO-ADAPTER}", {L"1.2.3.4"}, {L"255.0.0.0"}) +
          InterfaceExport(AdapterGuid(1), {L"192.168.10.77", L"192.168.20.1"}, {L"255.255.255.0", L"255.0.0.0"},
                          MultiStringValue(L"DefaultGateway", {L"192.168.10.1", L"192.168.10.2"}) +
                              L"\"Domain\"=\"corp.example\"\n") +
          InterfaceExport(AdapterGuid(2), {L"10.10.10.10"}, {L"255.0.0.0"}));
  NodeOnLab on(temp);
  ASSERT_EQ(on.Connect(), 0u);
  EXPECT_EQ(Discover(on), 0u);
  const cNIC& clan = on.node.Clan;
  EXPECT_EQ(clan.IpAddress, L"192.168.10.77");
  EXPECT_EQ(clan.IpAddresses, (std::vector<std::wstring>{L"192.168.10.77", L"192.168.20.1"}));
  EXPECT_EQ(on.node.Elan.IpAddresses, std::vector<std::wstring>{L"172.16.5.20"});
  EXPECT_EQ(clan.SubnetMask, L"255.255.255.0");
  EXPECT_EQ(clan.Subnet, L"192.168.10.0");
  EXPECT_EQ(clan.DefaultGateway, L"192.168.10.1");
  EXPECT_EQ(clan.Domain, L"corp.example");
  EXPECT_EQ(on.node.Elan.DefaultGateway, L"") << "gateway and domain are read for CLAN only";
  EXPECT_EQ(on.log.lines, (std::vector<LoggedLine>{
                              {L"\tELAN IP Subnet Mask = 255.255.0.0", LogClass::LogInfo},
                              {L"\tELAN IP Subnet = 172.16.0.0", LogClass::LogInfo},
                              {L"\tCLAN IP Subnet Mask = 255.255.255.0", LogClass::LogInfo},
                              {L"\tCLAN IP Subnet = 192.168.10.0", LogClass::LogInfo},
                              {L"\tCLAN default gateway = 192.168.10.1", LogClass::LogInfo},
                              {L"\tCLAN Domain = corp.example", LogClass::LogInfo},
                          }));
  on.node.RemoteRegistry.Close();
  EXPECT_EQ(on.OpenHandles(), 0u);
}

TEST(InterfaceDiscovery, FailedReadsStopTheWalkAndKeepWhatWasRead) {
  struct Row {
    const char* what;
    std::wstring clanValues;  // value lines of CLAN's interface
    Status rc;
    std::wstring ipAddress;
    std::wstring subnet;
    std::vector<std::wstring> logTail;
  };
  const std::wstring path = InterfacePath(0);
  const Row rows[] = {
      {"no DefaultGateway",
       MultiStringValue(L"IPAddress", {L"10.1.2.3"}) + MultiStringValue(L"SubnetMask", {L"255.255.0.0"}),
       2,
       L"10.1.2.3",
       L"10.1.0.0",
       {L"\tCLAN IP Subnet = 10.1.0.0", L"RegQueryValueEx(DefaultGateway) failed. rc = 2",
        L"GetRegKeyStringValue(" + path + L",DefaultGateway) failed. rc = 2"}},
      {"no IPAddress",
       MultiStringValue(L"SubnetMask", {L"255.255.0.0"}),
       2,
       L"earlier",
       L"",
       {L"RegQueryValueEx(IPAddress) failed. rc = 2", L"GetRemoteRegKey(" + path + L",IPAddress) failed. rc = 2"}},
      {"no SubnetMask",
       MultiStringValue(L"IPAddress", {L"10.1.2.3"}),
       2,
       L"10.1.2.3",
       L"",
       {L"RegQueryValueEx(SubnetMask) failed. rc = 2",
        L"GetRegKeyStringValue(" + path + L",SubnetMask) failed. rc = 2"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    TempLab temp;
    temp.AddRegFile(L"node-b", "network.reg", Named(0, L"CLAN"));
    temp.AddRegFile(
        L"node-b", "tcpip.reg",
        L"[HKEY_LOCAL_MACHINE\\" + std::wstring(kInterfacesKey) + L"\\" + AdapterGuid(0) + L"]\n" + row.clanValues);
    NodeOnLab on(temp);
    on.node.Clan.IpAddress = L"earlier";
    ASSERT_EQ(on.Connect(), 0u);
    EXPECT_EQ(Discover(on), row.rc);
    EXPECT_EQ(on.node.Clan.IpAddress, row.ipAddress);
    EXPECT_EQ(on.node.Clan.Subnet, row.subnet);
    const auto messages = on.log.Messages();
    ASSERT_GE(messages.size(), row.logTail.size());
    EXPECT_EQ(
        std::vector<std::wstring>(messages.end() - static_cast<std::ptrdiff_t>(row.logTail.size()), messages.end()),
        row.logTail);
    on.node.RemoteRegistry.Close();
    EXPECT_EQ(on.OpenHandles(), 0u);
  }
}

TEST(InterfaceDiscovery, EmptyMaskIsLoggedAndReadingGoesOn) {
  TempLab temp;
  temp.AddRegFile(L"node-b", "network.reg", Named(1, L"ELAN") + Named(2, L"HB1"));
  temp.AddRegFile(L"node-b", "tcpip.reg",
                  InterfaceExport(AdapterGuid(1), {L"10.2.2.5"}, {L""}) +
                      InterfaceExport(AdapterGuid(2), {L"10.3.3.5"}, {L"255.255.255.0"}));
  NodeOnLab on(temp);
  ASSERT_EQ(on.Connect(), 0u);
  EXPECT_EQ(Discover(on), 0u);
  EXPECT_EQ(on.log.Messages(), (std::vector<std::wstring>{
                                   L"cNIC::CalculateSubnet(): Subnet mask is empty.",
                                   L"\tELAN IP Subnet Mask = ",
                                   L"\tELAN IP Subnet = ",
                                   L"\tHB1 IP Subnet Mask = 255.255.255.0",
                                   L"\tHB1 IP Subnet = 10.3.3.0",
                               }));
  on.node.RemoteRegistry.Close();
}

TEST(InterfaceDiscovery, AdapterWithoutConnectionNameOrWithOverlongNameFailsTheWalk) {
  struct Row {
    const char* what;
    std::wstring network;
    Status rc;
    std::vector<std::wstring> log;
  };
  const std::wstring connectionPath = std::wstring(kClassKey) + L"\\" + AdapterGuid(7) + L"\\Connection";
  const Row rows[] = {
      {"no Connection subkey",
       Named(0, L"CLAN") + AdapterExport(AdapterGuid(7), nullptr),
       2,
       {L"RegOpenKeyEx(" + connectionPath + L") failed. rc = 2",
        L"GetRegKeyStringValue(" + connectionPath + L",Name) failed. rc = 2"}},
      {"subkey name of 255 characters",
       Named(0, L"CLAN") + L"[HKEY_LOCAL_MACHINE\\" + kClassKey + L"\\{" + std::wstring(254, L'F') + L"]\n",
       234,
       {L"RegEnumKeyEx(" + std::wstring(kClassKey) + L") failed. rc = 234"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    TempLab temp;
    temp.AddRegFile(L"node-b", "network.reg", row.network);
    NodeOnLab on(temp);
    ASSERT_EQ(on.Connect(), 0u);
    EXPECT_EQ(on.node.GetNICUUIDs(), row.rc);
    EXPECT_EQ(on.log.Messages(), row.log);
    EXPECT_EQ(on.node.Clan.Uuid, AdapterGuid(0)) << "adapters met before the failure stay recorded";
    on.node.RemoteRegistry.Close();
    EXPECT_EQ(on.OpenHandles(), 0u);
  }
}

TEST(InterfaceDiscovery, WithoutConnectionBothWalksFailWith6) {
  TempLab temp;
  NodeOnLab on(temp);
  EXPECT_EQ(on.node.GetNICUUIDs(), 6u);
  EXPECT_EQ(on.node.GetNICDetails(), 6u);
  EXPECT_EQ(on.log.Messages(), (std::vector<std::wstring>{L"GetNICUUIDs(node-b) failed. Registry handle is NULL.",
                                                          L"GetNICDetails(node-b) failed. Registry handle is NULL."}));
}
