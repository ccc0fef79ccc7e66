// cNode::GetNodeInfo through the Win32 backend, against Wine's real registry and service control manager.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "common/text_case.h"
#include "nodes/cnode.h"
#include "nodes/registry_paths.h"
#include "platform/win32/win32_platform.h"
#include "wizard/win32/win32_ownerless_message_box.h"
#include "support/recording_view.h"
#include "system_fixtures.h"
#include "wine_fixtures.h"

namespace {
constexpr wchar_t kDomain[] = L"dxtest";

struct Connection {
  const wchar_t* name;
  const wchar_t* guid;
  std::vector<std::wstring> addresses;
  std::vector<std::wstring> masks;
};

// GUIDs of the test's own, so that nothing of Wine's is mistaken for them.
const Connection kConnections[] = {
    {L"CLAN",
     L"{D0000001-5EED-4D0C-A000-000000000001}",
     {L"10.1.1.5", L"10.1.1.6"},
     {L"255.255.255.0", L"255.255.0.0"}},
    {L"ELAN", L"{D0000002-5EED-4D0C-A000-000000000002}", {L"192.168.10.21"}, {L"255.255.255.128"}},
    {L"HB1", L"{D0000003-5EED-4D0C-A000-000000000003}", {L"172.16.1.1"}, {L"255.255.0.0"}},
    {L"HB2", L"{D0000004-5EED-4D0C-A000-000000000004}", {L"172.17.2.9"}, {L"255.255.255.252"}},
    {L"MIRROR", L"{D0000005-5EED-4D0C-A000-000000000005}", {L"10.20.30.40"}, {L"255.255.255.248"}},
};
// A connection the wizard has no use for; it sits beside the five, as on a real server.
constexpr wchar_t kOtherConnectionGuid[] = L"{D0000006-5EED-4D0C-A000-000000000006}";

std::wstring NetworkKeyOf(const std::wstring& guid) { return std::wstring(kNetworkClassKey) + L"\\" + guid; }
std::wstring InterfaceKeyOf(const std::wstring& guid) { return std::wstring(kInterfacesKey) + L"\\" + guid; }

RegFileText ServerRegistry() {
  RegFileText file;
  for (const auto& connection : kConnections) {
    file.Key(NetworkKeyOf(connection.guid) + L"\\Connection").String(L"Name", connection.name);
    file.Key(InterfaceKeyOf(connection.guid))
        .MultiString(L"IPAddress", connection.addresses)
        .MultiString(L"SubnetMask", connection.masks);
  }
  file.Key(InterfaceKeyOf(kConnections[0].guid))
      .MultiString(L"DefaultGateway", {L"10.1.1.254", L"10.1.1.253"})
      .String(L"Domain", L"cluster.example");
  // Only CLAN's gateway and domain count; another interface's must not leak into its fields.
  file.Key(InterfaceKeyOf(kConnections[1].guid))
      .MultiString(L"DefaultGateway", {L"192.168.10.1"})
      .String(L"Domain", L"elan.example");
  file.Key(NetworkKeyOf(kOtherConnectionGuid) + L"\\Connection").String(L"Name", L"Local Area Connection");
  // Windows keeps a subkey that is not an adapter under the class key; only "{" subkeys are adapters.
  file.Key(NetworkKeyOf(L"Descriptions")).String(L"Ethernet Adapter", L"1");
  file.Key(kProductKey).String(kSwitchIpAddressValue, L"10.1.1.250").Dword(kHighAvailModeValue, 1);
  return file;
}

std::vector<std::wstring> OwnedKeys() {
  std::vector<std::wstring> owned = {kNetworkClassKey, kProductKey};
  for (const auto& connection : kConnections) owned.push_back(InterfaceKeyOf(connection.guid));
  return owned;
}

// One server as a field engineer would find it: five named connections with their addresses, the product's
// settings, and the clustering product's services in every state the wizard tells apart (the mirror
// service is not installed). Made once for the suite: each step runs a reg.exe or sc.exe process.
struct ServerState {
  ScopedRegImport registry{OwnedKeys(), ServerRegistry()};
  ScopedTestService agent{kDomain, true};
  ScopedTestService backbone{std::wstring(kDomain) + L"_BACKBONE", false};
  ScopedTestService transport{L"EMC AutoStart Transport Service", true};
};

class NodeGatheringTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { server_ = std::make_unique<ServerState>(); }
  static void TearDownTestSuite() { server_.reset(); }

  void SetUp() override {
    ASSERT_EQ(server_->registry.Problem(), "");
    ASSERT_EQ(server_->agent.Problem(), "");
    ASSERT_EQ(server_->backbone.Problem(), "");
    ASSERT_EQ(server_->transport.Problem(), "");
  }

  static inline std::unique_ptr<ServerState> server_;
};

std::vector<std::wstring> ServiceStatusLines(const std::vector<std::wstring>& messages) {
  std::vector<std::wstring> lines;
  for (const auto& message : messages) {
    if (message.find(L" service status = ") != std::wstring::npos) lines.push_back(message);
  }
  return lines;
}
}  // namespace

TEST_F(NodeGatheringTest, GetNodeInfo_ThisComputerInAnyCaseGathersEverything) {
  const std::wstring computer = ComputerName();
  ASSERT_FALSE(computer.empty());
  for (const std::wstring& hostName : {computer, ToLowerAscii(computer)}) {
    SCOPED_TRACE(::testing::Message() << hostName);
    Win32Backend backend;
    RecordingOwnerlessBox boxes;
    Platform platform = backend.MakePlatform();
    RecordingLog log;
    cNode node(platform, log, boxes);
    node.HostName = hostName;
    node.AutoStartDomain = kDomain;

    ASSERT_EQ(node.GetNodeInfo(), 0u) << (log.lines.empty() ? std::wstring() : log.lines.back().message).c_str();

    struct Expected {
      const cNIC& nic;
      std::wstring subnet;
    };
    const Expected expected[] = {
        {node.Clan, L"10.1.1.0"},  {node.Elan, L"192.168.10.0"},  {node.Hb1, L"172.16.0.0"},
        {node.Hb2, L"172.17.2.8"}, {node.Mirror, L"10.20.30.40"},
    };
    for (std::size_t i = 0; i < std::size(kConnections); ++i) {
      const Connection& connection = kConnections[i];
      const cNIC& nic = expected[i].nic;
      SCOPED_TRACE(::testing::Message() << connection.name);
      EXPECT_EQ(nic.Uuid, connection.guid);
      EXPECT_EQ(nic.IpAddress, connection.addresses.front());
      EXPECT_EQ(nic.SubnetMask, connection.masks.front());
      EXPECT_EQ(nic.Subnet, expected[i].subnet);
      const bool isClan = &nic == &node.Clan;
      EXPECT_EQ(nic.DefaultGateway, isClan ? L"10.1.1.254" : L"");
      EXPECT_EQ(nic.Domain, isClan ? L"cluster.example" : L"");
    }
    EXPECT_EQ(node.SwitchIpAddress, L"10.1.1.250");
    EXPECT_EQ(node.HaFeatureStatus, L"HA enabled");
    EXPECT_EQ(node.AgentServiceStatus, L"Running");
    EXPECT_EQ(node.BackboneServiceStatus, L"Not started");
    EXPECT_EQ(node.MirrorServiceStatus, L"Not installed");
    EXPECT_EQ(node.TransportServiceStatus, L"Running");

    const std::vector<std::wstring> messages = log.Messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.front(), L"Hostname = " + hostName);
    EXPECT_EQ(ServiceStatusLines(messages), (std::vector<std::wstring>{
                                                L"\tdxtest service status = Running",
                                                L"\tdxtest_BACKBONE service status = Not started",
                                                L"\tEMC AutoStart Mirror Service service status = Not installed",
                                                L"\tEMC AutoStart Transport Service service status = Running",
                                            }));
    EXPECT_EQ(messages.back(), L"\tEMC AutoStart Transport Service service status = Running");
    EXPECT_TRUE(boxes.texts.empty());
  }
}

TEST(NodeGathering, GetNodeInfo_UnreachableServerShowsErrorBoxAndReturnsCode) {
  Win32Backend backend;
  Win32OwnerlessMessageBox ownerlessBox;
  Platform platform = backend.MakePlatform();
  RecordingLog log;
  cNode node(platform, log, ownerlessBox);
  node.HostName = L"no-such-node";
  node.AutoStartDomain = kDomain;

  // The box is modal on this thread; the watcher reads and answers it from its own.
  DialogWatcher watcher(GetCurrentThreadId(), [](HWND) {});
  const Status rc = node.GetNodeInfo();
  watcher.Finish();

  EXPECT_EQ(rc, 53u);
  ASSERT_EQ(watcher.Boxes().size(), 1u);
  EXPECT_EQ(watcher.Boxes()[0].caption, L"Error");
  EXPECT_EQ(watcher.Boxes()[0].text, L"Unable to connect to the registry on server no-such-node.");
  EXPECT_FALSE(watcher.TimedOut());
  const std::vector<std::wstring> messages = log.Messages();
  EXPECT_NE(std::find(messages.begin(), messages.end(), L"RegConnectRegistry(\\\\no-such-node) failed. rc = 53"),
            messages.end());
}
