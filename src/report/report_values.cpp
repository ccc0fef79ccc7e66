// The values both report writers show, named once: the entries, the services, a link's network.
#include "report/report_values.h"

#include "report/readiness_report.h"
#include "validation/ipv4.h"

namespace report {

std::vector<EntryField> EntryFields(const Entries& e) {
  // In the window's order, with its labels.
  return {{"managed_host_name", L"Managed CLAN Host Name", &e.ManagedHostName},
          {"managed_clan_ip", L"Managed CLAN IP", &e.ManagedClanIp},
          {"managed_elan_ip", L"Managed ELAN IP", &e.ManagedElanIp},
          {"node1_host_name", L"Node 1 Host Name", &e.Node1HostName},
          {"node2_host_name", L"Node 2 Host Name", &e.Node2HostName},
          {"board_count", L"Number of TMX48 Boards", &e.BoardCount},
          {"user_name", L"User name", &e.UserName},
          {"workgroup_domain_name", L"Server Workgroup / Domain Name", &e.WorkgroupDomainName},
          {"autostart_domain", L"EMC AutoStart Domain Name", &e.AutoStartDomain},
          {"clan_test_ip", L"CLAN Test IP", &e.ClanTestIp}};
}

std::vector<ServiceField> ServiceFields(const NodeRecord& node) {
  return {{"agent", L"EMC Agent Service", &node.AgentServiceStatus},
          {"backbone", L"EMC Backbone Service", &node.BackboneServiceStatus},
          {"mirror", L"EMC Mirror Service", &node.MirrorServiceStatus},
          {"transport", L"EMC Transport Service", &node.TransportServiceStatus}};
}

std::wstring LinkNetworkText(const cNIC& nic) {
  const auto subnet = ParseSubnet(nic.IpAddress, nic.SubnetMask);
  return subnet ? Ipv4Text(subnet->Network()) : std::wstring();
}

}  // namespace report

namespace {
std::wstring TwoDigits(int value) {
  std::wstring text = std::to_wstring(value);
  return text.size() < 2 ? L"0" + text : text;
}
}  // namespace

std::wstring ReportFileBaseName(const ReportTime& t) {
  return L"readiness-" + std::to_wstring(t.year) + TwoDigits(t.month) + TwoDigits(t.day) + L"-" + TwoDigits(t.hour) +
         TwoDigits(t.minute) + TwoDigits(t.second);
}

std::wstring ReportTimeText(const ReportTime& t) {
  return std::to_wstring(t.year) + L"-" + TwoDigits(t.month) + L"-" + TwoDigits(t.day) + L" " + TwoDigits(t.hour) +
         L":" + TwoDigits(t.minute) + L":" + TwoDigits(t.second);
}
