// Gathering one whole server: every stage in order, and every way it can fail.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/text_encoding.h"
#include "platform/lab/registry_tree.h"
#include "support/cluster_server.h"
#include "support/node_on_lab.h"

namespace {
// node-b as the second node of a cluster with the four services of domain ha1 running.
void AddNodeB(TempLab& temp) {
  AddClusterServer(temp, L"node-b", 2, 1);
  temp.WriteServerFile(L"node-b", "services.txt", ClusterServiceList(L"ha1"));
}

const std::vector<std::wstring> kCompleteGatheringLog = {
    L"Hostname = node-b",
    L"\tCLAN IP Subnet Mask = 255.255.255.0",
    L"\tCLAN IP Subnet = 10.1.1.0",
    L"\tCLAN default gateway = 10.1.1.254",
    L"\tCLAN Domain = ha.example",
    L"\tELAN IP Subnet Mask = 255.255.255.0",
    L"\tELAN IP Subnet = 10.2.2.0",
    L"\tHB1 IP Subnet Mask = 255.255.255.0",
    L"\tHB1 IP Subnet = 10.3.3.0",
    L"\tHB2 IP Subnet Mask = 255.255.255.0",
    L"\tHB2 IP Subnet = 10.4.4.0",
    L"\tMIRROR IP Subnet Mask = 255.255.255.0",
    L"\tMIRROR IP Subnet = 10.5.5.0",
    L"\tSwitch IP Address = 10.9.9.1",
    L"\tHigh Availability Feature = HA enabled",
    L"\tha1 service status = Running",
    L"\tha1_BACKBONE service status = Running",
    L"\tEMC AutoStart Mirror Service service status = Running",
    L"\tEMC AutoStart Transport Service service status = Running",
};
}  // namespace

TEST(GetNodeInfo, CompleteGatheringFillsEveryFieldAndLogsEachStepInOrder) {
  TempLab temp;
  AddNodeB(temp);
  NodeOnLab on(temp);
  EXPECT_EQ(on.node.GetNodeInfo(), 0u);
  EXPECT_EQ(on.log.Messages(), kCompleteGatheringLog);
  EXPECT_TRUE(on.ownerlessBox.texts.empty());
  const cNIC& clan = on.node.Clan;
  EXPECT_EQ(clan.IpAddress, L"10.1.1.2") << "the first of CLAN's two addresses";
  EXPECT_EQ(clan.Uuid, AdapterGuid(20));
  EXPECT_EQ(clan.ConnectionName, L"CLAN");
  EXPECT_EQ(on.node.Mirror.IpAddress, L"10.5.5.2");
  EXPECT_EQ(on.node.SwitchIpAddress, L"10.9.9.1");
  EXPECT_EQ(on.node.HaFeatureStatus, L"HA enabled");
  EXPECT_EQ(on.node.TransportServiceStatus, L"Running");
  EXPECT_FALSE(on.node.RemoteRegistry.IsOpen());
  EXPECT_EQ(on.OpenHandles(), 0u);
}

TEST(GetNodeInfo, EachFailingStageShowsItsBoxLogsItsLineAndClosesEverything) {
  struct Row {
    const char* what;
    std::function<void(TempLab&)> arrange;
    std::wstring hostName;
    Status rc;
    std::vector<std::wstring> boxes;
    std::vector<std::wstring> logTail;  // the last lines of the log, the failure's own last
  };
  const auto faults = [](std::string text) {
    return [text](TempLab& temp) { temp.WriteServerFile(L"node-b", "faults.conf", text); };
  };
  const auto laterExport = [](std::wstring body) {
    return [body](TempLab& temp) { temp.AddRegFile(L"node-b", "registry/zz-later.reg", body); };
  };
  const std::wstring productKeyLine = L"[HKEY_LOCAL_MACHINE\\Software\\Zandor\\Vestamail\\ConfigWizard]\n";
  const std::wstring classKey = L"SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
  const std::wstring interfacesKey = L"SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";
  const Row rows[] = {
      {"empty host name", {}, L"", 87, {}, {L"cNode::GetNodeInfo(): host name specified is empty."}},
      {"unknown server",
       {},
       L"node-c",
       53,
       {L"Unable to connect to the registry on server node-c."},
       {L"Hostname = node-c", L"RegConnectRegistry(\\\\node-c) failed. rc = 53"}},
      {"unreachable server",
       faults("unreachable = yes\n"),
       L"node-b",
       53,
       {L"Unable to connect to the registry on server node-b."},
       {L"Hostname = node-b", L"RegConnectRegistry(\\\\node-b) failed. rc = 53"}},
      {"network class key denied",
       faults("deny-key = " + Utf8FromWide(classKey) + "\n"),
       L"node-b",
       5,
       {L"Unable to get the NIC UUIDs from the registry on server node-b."},
       {L"Hostname = node-b", L"RegOpenKeyEx(" + classKey + L") failed. rc = 5",
        L"GetNICUUIDs failed on host node-b. rc = 5"}},
      {"interfaces key denied",
       faults("deny-key = " + Utf8FromWide(interfacesKey) + "\n"),
       L"node-b",
       5,
       {L"Unable to get the NIC IP information from the registry on server node-b."},
       {L"Hostname = node-b", L"RegOpenKeyEx(" + interfacesKey + L") failed. rc = 5",
        L"GetNICDetails failed on host node-b. rc = 5"}},
      {"no switch address",
       laterExport(productKeyLine + L"\"Switch IP Address\"=-\n"),
       L"node-b",
       2,
       {L"Unable to read the Switch IP information from the registry on server node-b."},
       {L"\tMIRROR IP Subnet = 10.5.5.0", L"RegQueryValueEx(Switch IP Address) failed. rc = 2",
        L"GetRegKeyStringValue(Software\\Zandor\\Vestamail\\ConfigWizard,Switch IP Address) failed. rc = 2"}},
      {"feature switch unreadable",
       laterExport(productKeyLine + L"\"HighAvailMode\"=\"yes\"\n"),
       L"node-b",
       234,
       {L"Unable to get the high availability feature status on host node-b."},
       {L"\tSwitch IP Address = 10.9.9.1", L"RegQueryValueEx(HighAvailMode) failed. rc = 234",
        L"GetHighAvailabilityStatus failed on host node-b. rc = 234"}},
      {"service manager refused",
       faults("service-manager-error = 5\n"),
       L"node-b",
       5,
       {},
       {L"\tHigh Availability Feature = HA enabled", L"OpenSCManager(node-b) failed. rc = 5"}},
      {"backbone service denied",
       faults("deny-service = ha1_BACKBONE\n"),
       L"node-b",
       5,
       {},
       {L"\tha1 service status = Running", L"OpenService(ha1_BACKBONE) failed. rc = 5",
        L"GetServiceStatus(ha1_BACKBONE) failed. rc = 5"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    TempLab temp;
    AddNodeB(temp);
    if (row.arrange) row.arrange(temp);
    NodeOnLab on(temp, row.hostName);
    EXPECT_EQ(on.node.GetNodeInfo(), row.rc);
    EXPECT_EQ(on.ownerlessBox.texts, row.boxes);
    const auto messages = on.log.Messages();
    ASSERT_GE(messages.size(), row.logTail.size());
    EXPECT_EQ(
        std::vector<std::wstring>(messages.end() - static_cast<std::ptrdiff_t>(row.logTail.size()), messages.end()),
        row.logTail);
    EXPECT_EQ(on.log.lines.back().messageClass, row.rc == 87 ? LogClass::LogInfo : LogClass::LogError);
    EXPECT_FALSE(on.node.RemoteRegistry.IsOpen());
    EXPECT_EQ(on.OpenHandles(), 0u);
    EXPECT_EQ(on.node.MirrorServiceStatus, L"") << "no service after the failing one was queried";
    if (row.hostName.empty()) {
      EXPECT_EQ(on.lab->RemoteCallCount(), 0u) << "nothing is asked of any server";
    }
  }
}

TEST(GetNodeInfo, ServiceStagesFailAfterTheRegistryFieldsAreFilled) {
  TempLab temp;
  AddNodeB(temp);
  temp.WriteServerFile(L"node-b", "faults.conf", "deny-service = ha1_BACKBONE\n");
  NodeOnLab on(temp);
  EXPECT_EQ(on.node.GetNodeInfo(), 5u);
  EXPECT_EQ(on.node.SwitchIpAddress, L"10.9.9.1");
  EXPECT_EQ(on.node.HaFeatureStatus, L"HA enabled");
  EXPECT_EQ(on.node.AgentServiceStatus, L"Running");
  EXPECT_EQ(on.node.BackboneServiceStatus, L"");
}

TEST(GetNodeInfo, ServerWithoutTheClusteringServicesStillGathers) {
  TempLab temp;
  AddClusterServer(temp, L"node-b", 2);
  NodeOnLab on(temp);
  EXPECT_EQ(on.node.GetNodeInfo(), 0u);
  for (const std::wstring* state : {&on.node.AgentServiceStatus, &on.node.BackboneServiceStatus,
                                    &on.node.MirrorServiceStatus, &on.node.TransportServiceStatus}) {
    EXPECT_EQ(*state, L"Not installed");
  }
  EXPECT_TRUE(on.ownerlessBox.texts.empty());
}

TEST(GetNodeInfo, ConnectionThatDisappearsKeepsTheValuesOfTheEarlierGathering) {
  TempLab temp;
  AddNodeB(temp);
  NodeOnLab on(temp);
  ASSERT_EQ(on.node.GetNodeInfo(), 0u);
  // The installer renames CLAN between two gatherings: lower case is no longer CLAN.
  RegistryKeyNode* connection = on.lab->Registry().ServerRoot(L"node-b").FindPath(
      L"SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\" + AdapterGuid(20) +
      L"\\Connection");
  ASSERT_NE(connection, nullptr);
  connection->SetValue({L"Name", regtype::String, Utf16LeBytesFromWide(std::wstring(L"clan") + L'\0')});
  on.log.lines.clear();
  EXPECT_EQ(on.node.GetNodeInfo(), 0u);
  EXPECT_EQ(on.node.Clan.ConnectionName, L"CLAN");
  EXPECT_EQ(on.node.Clan.Uuid, AdapterGuid(20));
  EXPECT_EQ(on.node.Clan.IpAddress, L"10.1.1.2");
  // The GUID recorded earlier still finds the interface, so its lines are logged as before.
  EXPECT_EQ(on.log.Messages(), kCompleteGatheringLog);
}
