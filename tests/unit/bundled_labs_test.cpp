// The labs bundled under lab/: each loads, and each server gathers as the lab's README describes.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "common/status.h"
#include "common/text_encoding.h"
#include "nodes/cnode.h"
#include "platform/lab/lab.h"
#include "platform/lab/lab_files.h"
#include "support/recording_view.h"

namespace fs = std::filesystem;

namespace {

constexpr wchar_t kDefaultsFile[] = L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\HADefaults.dat";

std::unique_ptr<Lab> LoadBundled(const std::string& name) {
  std::string error;
  auto lab = Lab::Load(fs::path(DUPLEX_LAB_DIR) / name, &error);
  EXPECT_NE(lab, nullptr) << name << ": " << error;
  return lab;
}

struct BundledLab {
  const char* name;
  Status node2Gathering;         // what gathering node-b returns
  const wchar_t* node2Services;  // the state of each of node-b's four AutoStart services
  bool node2HasClan;             // a connection named exactly "CLAN" on node-b
  const char* defaultsStage;     // first line of HADefaults.dat; null when the lab has none
};

const BundledLab kLabs[] = {
    {"demo", status::Success, L"Running", true, nullptr},
    {"node2-unreachable", status::BadNetPath, L"", true, "0"},
    {"services-stopped", status::Success, L"Not started", true, "1"},
    {"clan-missing", status::Success, L"Running", false, "0"},
};

std::vector<std::wstring> ServiceStates(const cNode& node) {
  return {node.AgentServiceStatus, node.BackboneServiceStatus, node.MirrorServiceStatus, node.TransportServiceStatus};
}

}  // namespace

TEST(BundledLabs, EveryLabUnderLabLoads) {
  std::set<std::string> found;
  for (const auto& entry : fs::directory_iterator(DUPLEX_LAB_DIR)) {
    if (!fs::exists(entry.path() / "lab.conf")) continue;
    const std::string name = entry.path().filename().string();
    SCOPED_TRACE(name);
    found.insert(name);
    EXPECT_NE(LoadBundled(name), nullptr);
  }
  for (const BundledLab& lab : kLabs) EXPECT_EQ(found.count(lab.name), 1u) << lab.name << " is missing";
}

TEST(BundledLabs, EachServerGathersAsItsLabRehearses) {
  for (const BundledLab& row : kLabs) {
    SCOPED_TRACE(row.name);
    auto lab = LoadBundled(row.name);
    if (lab == nullptr) continue;
    RecordingLog log;
    RecordingOwnerlessBox ownerlessBox;
    Platform platform = lab->MakePlatform();
    cNode node1(platform, log, ownerlessBox);
    cNode node2(platform, log, ownerlessBox);
    node1.HostName = L"node-a";
    node2.HostName = L"node-b";
    node1.AutoStartDomain = node2.AutoStartDomain = L"ha1";

    EXPECT_EQ(node1.GetNodeInfo(), status::Success);
    EXPECT_EQ(ServiceStates(node1), std::vector<std::wstring>(4, L"Running"));
    EXPECT_EQ(node1.HaFeatureStatus, L"HA enabled");
    EXPECT_EQ(node1.Clan.Domain, L"ha.example.local");
    for (const cNIC* nic : {&node1.Clan, &node1.Elan, &node1.Hb1, &node1.Hb2, &node1.Mirror}) {
      EXPECT_FALSE(nic->Subnet.empty()) << Utf8FromWide(nic->ConnectionName);
    }

    EXPECT_EQ(node2.GetNodeInfo(), row.node2Gathering);
    if (row.node2Gathering == status::Success) {
      EXPECT_TRUE(ownerlessBox.texts.empty());
      EXPECT_EQ(ServiceStates(node2), std::vector<std::wstring>(4, row.node2Services));
      EXPECT_EQ(node2.SwitchIpAddress, node1.SwitchIpAddress) << "both servers name the same switch";
      EXPECT_EQ(node2.Clan.Uuid.empty(), !row.node2HasClan);
      if (row.node2HasClan) {
        EXPECT_EQ(node2.Clan.Subnet, node1.Clan.Subnet);
        EXPECT_NE(node2.Clan.IpAddress, node1.Clan.IpAddress);
      }
    } else {
      EXPECT_EQ(ownerlessBox.texts, std::vector<std::wstring>{L"Unable to connect to the registry on server node-b."});
    }

    std::string defaults;
    const Status read = lab->Files().ReadWholeFile(kDefaultsFile, &defaults);
    if (row.defaultsStage == nullptr) {
      EXPECT_EQ(read, status::FileNotFound) << "the lab opens in stage 1 with empty entries";
    } else {
      ASSERT_EQ(read, status::Success);
      EXPECT_EQ(defaults.substr(0, defaults.find('\r')), row.defaultsStage);
      EXPECT_NE(defaults.find("\r\nnode-a\r\nnode-b\r\n"), std::string::npos) << defaults;
    }
    EXPECT_EQ(lab->OpenHandleCount(), 0u);
  }
}
