// The wizard on a lab holding a healthy cluster pair, with the entries a user types for it.
#include "support/cluster_wizard.h"

#include <sstream>
#include <vector>

#include "resource.h"

ClusterLab::ClusterLab() {
  AddClusterServer(temp, L"NODE-A", 1);
  AddClusterServer(temp, L"node-b", 2);
  temp.WriteServerFile(L"NODE-A", "services.txt", ClusterServiceList(L"ha1"));
  temp.WriteServerFile(L"node-b", "services.txt", ClusterServiceList(L"ha1"));
  temp.WriteDriveFile(L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\README.txt", "the toolkit folder\r\n");
  // The switch both servers name answers on the ELAN; the links are cabled as their names say.
  temp.AddLabConfLine("host = 10.9.9.1 ELAN");
}

void TypeClusterEntries(RecordingView& view) {
  view.entries[IDC_MANAGED_HOST_NAME] = L"ha-managed";
  view.entries[IDC_MANAGED_CLAN_IP] = L"10.1.1.5";
  view.entries[IDC_MANAGED_ELAN_IP] = L"10.2.2.5";
  view.entries[IDC_NODE1_HOST_NAME] = L"node-a";
  view.entries[IDC_NODE2_HOST_NAME] = L"node-b";
  view.entries[IDC_USER_NAME] = L"admin";
  view.entries[IDC_WORKGROUP_DOMAIN_NAME] = L"workgroup";
  view.boardSelection = 1;  // "3"
  view.entries[IDC_AUTOSTART_DOMAIN] = L"ha1";
  view.entries[IDC_CLAN_TEST_IP] = L"127.0.0.1";
}

std::string ClusterAnswers(const std::string& stage, int line, const std::string& value) {
  std::vector<std::string> lines;
  std::istringstream in(kClusterAnswers);
  for (std::string each; std::getline(in, each);) lines.push_back(each.substr(0, each.size() - 1));  // less its CR
  lines.at(0) = stage;
  if (line >= 0) lines.at(static_cast<std::size_t>(line)) = value;
  std::string text;
  for (const std::string& each : lines) text += each + "\r\n";
  return text;
}

SiteChange LabConfLine(const std::string& line) {
  return [line](TempLab& lab) { lab.AddLabConfLine(line); };
}

SiteChange ServerFaults(const std::wstring& server, const std::string& faults) {
  return [server, faults](TempLab& lab) { lab.WriteServerFile(server, "faults.conf", faults); };
}

SiteChange AnswersWith(const std::string& stage, int line, const std::string& value) {
  return [stage, line, value](TempLab& lab) { lab.WriteDriveFile(kDefaultsPath, ClusterAnswers(stage, line, value)); };
}
