// Step 2's comparison of the two gathered servers, and the service report Step 2 and Step 3 share.
#include "validation/cross_node_report.h"

#include "common/text_format.h"

namespace {
bool AllServicesRunning(const NodeRecord& node) {
  for (const std::wstring* state : {&node.AgentServiceStatus, &node.BackboneServiceStatus, &node.MirrorServiceStatus,
                                    &node.TransportServiceStatus}) {
    if (*state != L"Running") return false;
  }
  return true;
}
}  // namespace

std::vector<std::wstring> ServicesNotRunningLines(const Entries& entries, const NodeRecord& node1,
                                                  const NodeRecord& node2) {
  constexpr wchar_t kNotRunning[] = L"At least one of the EMC services on server %s is not running.";
  std::vector<std::wstring> lines;
  if (!AllServicesRunning(node1)) lines.push_back(FormatText(kNotRunning, {entries.Node1HostName}));
  if (!AllServicesRunning(node2)) lines.push_back(FormatText(kNotRunning, {entries.Node2HostName}));
  return lines;
}

std::vector<std::wstring> CrossNodeReportLines(const Entries& entries, const NodeRecord& node1,
                                               const NodeRecord& node2) {
  std::vector<std::wstring> lines;
  if (node1.SwitchIpAddress != node2.SwitchIpAddress) {
    lines.push_back(FormatText(L"The switch IP addresses do not match. %s = %s, %s = %s",
                               {node1.HostName, node1.SwitchIpAddress, node2.HostName, node2.SwitchIpAddress}));
  }
  if (node1.Clan.Domain != node2.Clan.Domain) {
    lines.push_back(FormatText(L"The CLAN domains do not match. %s = %s, %s = %s",
                               {node1.HostName, node1.Clan.Domain, node2.HostName, node2.Clan.Domain}));
  }
  if (entries.WizardStage == kStage2) {
    for (std::wstring& line : ServicesNotRunningLines(entries, node1, node2)) lines.push_back(std::move(line));
  }
  return lines;
}

std::wstring JoinReportLines(const std::vector<std::wstring>& lines) {
  std::wstring report;
  for (const std::wstring& line : lines) report += line + L"\r\n";
  return report;
}
