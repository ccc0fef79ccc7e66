// Step 1: the entry rules in their order, then both servers gathered and listed.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/lab/lab_faults.h"
#include "resource.h"
#include "support/cluster_wizard.h"
#include "validation/entry_rules.h"
#include "wizard/node_pair_reader.h"

namespace {
constexpr wchar_t kValidating[] = L"Validating configuration information entered by the user.";

// What the user and the log are told, in one sequence: "box: TEXT" and "log: TEXT".
class ToldInOrder : public InstallLog, public OwnerlessMessageBox {
 public:
  void Write(const std::wstring& message, LogClass) override { told.push_back(L"log: " + message); }
  void Show(const std::wstring& text) override { told.push_back(L"box: " + text); }
  std::vector<std::wstring> told;
};

std::vector<std::wstring> Column(const RecordingView& view, std::size_t column) {
  std::vector<std::wstring> cells;
  for (const auto& row : view.rows) cells.push_back(row[column]);
  return cells;
}
}  // namespace

TEST(EntryRules, FirstBrokenRuleIsTheOnlyOneReported) {
  struct Case {
    const char* what;
    std::function<void(RecordingView&)> change;
    std::wstring message;
  };
  const Case cases[] = {
      {"every entry empty",
       [](RecordingView& v) {
         v.entries.clear();
         v.boardSelection = -1;
       },
       L"You must specify a managed host name."},
      {"no ELAN address", [](RecordingView& v) { v.entries[IDC_MANAGED_ELAN_IP] = L""; },
       L"You must specify a managed ELAN IP address."},
      {"ELAN with two dots is reported before a bad CLAN",
       [](RecordingView& v) {
         v.entries[IDC_MANAGED_ELAN_IP] = L"10.1.1";
         v.entries[IDC_MANAGED_CLAN_IP] = L"";
       },
       L"The ELAN IP address that you have specified is invalid."},
      {"no CLAN address", [](RecordingView& v) { v.entries[IDC_MANAGED_CLAN_IP] = L""; },
       L"You must specify a managed CLAN IP address."},
      {"CLAN address without a fourth piece", [](RecordingView& v) { v.entries[IDC_MANAGED_CLAN_IP] = L"10.1.1."; },
       L"The CLAN IP address that you have specified is invalid."},
      {"no node 1", [](RecordingView& v) { v.entries[IDC_NODE1_HOST_NAME] = L""; },
       L"You must specify a host name for node 1."},
      {"no node 2", [](RecordingView& v) { v.entries[IDC_NODE2_HOST_NAME] = L""; },
       L"You must specify a host name for node 2."},
      {"the same node twice", [](RecordingView& v) { v.entries[IDC_NODE2_HOST_NAME] = L"node-a"; },
       L"Node 1 and Node 2 can not have the same host name."},
      {"managed host named as node 2 only", [](RecordingView& v) { v.entries[IDC_MANAGED_HOST_NAME] = L"node-b"; },
       L"The managed host name can not be the same as either nodes host name."},
      {"no user", [](RecordingView& v) { v.entries[IDC_USER_NAME] = L""; }, L"You must specify a user name."},
      {"no workgroup", [](RecordingView& v) { v.entries[IDC_WORKGROUP_DOMAIN_NAME] = L""; },
       L"You must specify a workgroup / domain name."},
      {"no board count", [](RecordingView& v) { v.boardSelection = -1; },
       L"You must specify the number of TMX48 boards in your server (1 or 3)."},
      {"no AutoStart domain", [](RecordingView& v) { v.entries[IDC_AUTOSTART_DOMAIN] = L""; },
       L"You must specify a EMC AutoStart domain."},
      {"AutoStart domain with an underscore", [](RecordingView& v) { v.entries[IDC_AUTOSTART_DOMAIN] = L"Ha_1"; },
       L"The EMC AutoStart domain that you have entered (Ha_1) is invalid. The domain name must not contain any "
       L"spaces or special characters."},
      {"no CLAN test address", [](RecordingView& v) { v.entries[IDC_CLAN_TEST_IP] = L""; },
       L"You must specify a CLAN test IP address. If you are using the CLAN and have a gateway that responds to "
       L"pings it is recommended that you use its IP address. If you are not using a CLAN connection use the "
       L"loopback IP address 127.0.0.1."},
      {"CLAN test address with letters only", [](RecordingView& v) { v.entries[IDC_CLAN_TEST_IP] = L"a.b.c.d"; },
       L"The CLAN test IP address that you have specified is invalid."},
      // After the sixteen rules: characters no line of a single-byte file can hold, in tab order.
      {"a broken rule comes before a character",
       [](RecordingView& v) {
         v.entries[IDC_USER_NAME] = L"ad\tmin";
         v.entries[IDC_CLAN_TEST_IP] = L"";
       },
       L"You must specify a CLAN test IP address. If you are using the CLAN and have a gateway that responds to "
       L"pings it is recommended that you use its IP address. If you are not using a CLAN connection use the "
       L"loopback IP address 127.0.0.1."},
      {"a tab in the user name", [](RecordingView& v) { v.entries[IDC_USER_NAME] = L"ad\tmin"; },
       L"The entry \"User name\" holds a control character, such as a tab or a line break, which the wizard's "
       L"files can not hold. Please remove it."},
      {"a lone CR in the managed host name, reported before the workgroup",
       [](RecordingView& v) {
         v.entries[IDC_MANAGED_HOST_NAME] = L"ha\rmanaged";
         v.entries[IDC_WORKGROUP_DOMAIN_NAME] = L"gr\u00FCppe\u20AC";
       },
       L"The entry \"Managed CLAN Host Name\" holds a control character, such as a tab or a line break, which the "
       L"wizard's files can not hold. Please remove it."},
      {"a euro sign in the workgroup",
       [](RecordingView& v) { v.entries[IDC_WORKGROUP_DOMAIN_NAME] = L"gr\u00FCppe\u20AC\u65E5\u672C"; },
       L"The entry \"Server Workgroup / Domain Name\" holds the character \"\u20AC\", which the wizard's files can "
       L"not hold. Please use only Western European (Latin-1) characters."},
      {"a NUL in the CLAN test address",
       [](RecordingView& v) { v.entries[IDC_CLAN_TEST_IP] = std::wstring(L"127.0.0.1\0", 10); },
       L"The entry \"CLAN Test IP\" holds a control character, such as a tab or a line break, which the wizard's "
       L"files can not hold. Please remove it."},
  };
  ClusterLab cluster;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WizardOnLab wizard(cluster.temp);
    TypeClusterEntries(wizard.view);
    c.change(wizard.view);
    EXPECT_EQ(wizard.dialog.CollectNodeInformation(), status::InvalidData);
    EXPECT_EQ(wizard.log.lines,
              (std::vector<LoggedLine>{{kValidating, LogClass::LogInfo}, {c.message, LogClass::LogInfo}}));
    EXPECT_EQ(wizard.view.boxes, (std::vector<ShownBox>{{c.message, L""}}));
    EXPECT_EQ(wizard.lab->RemoteCallCount(), 0u) << "no server is contacted";
    EXPECT_EQ(wizard.dialog.Node1Info.HostName, L"") << "the records are not touched";
  }
}

TEST(EntryRules, ComparisonsAreExactAndTheDomainKeepsItsCase) {
  ClusterLab cluster;
  WizardOnLab wizard(cluster.temp);
  TypeClusterEntries(wizard.view);
  ASSERT_TRUE(wizard.dialog.UpdateData(true));
  WizardDialog& d = wizard.dialog;
  EXPECT_EQ(FirstBrokenEntryRule(d), L"");

  d.Node2HostName = L"NODE-A";  // only the entries fold case; the rule itself does not
  EXPECT_EQ(FirstBrokenEntryRule(d), L"");
  d.ManagedHostName = L"Node-A";
  EXPECT_EQ(FirstBrokenEntryRule(d), L"");
  d.ManagedHostName = L"NODE-A";
  EXPECT_EQ(FirstBrokenEntryRule(d), L"The managed host name can not be the same as either nodes host name.");
  d.ManagedHostName = L"  ";
  EXPECT_EQ(FirstBrokenEntryRule(d), L"") << "blanks are not empty";

  for (const wchar_t* domain : {L"HADom1", L"abcXYZ09"}) EXPECT_TRUE(IsValidAutoStartDomain(domain)) << domain;
  for (const wchar_t* domain : {L"ha 1", L"ha-1", L"ha.1", L"h\x00e4", L"ha1\t"}) {
    EXPECT_FALSE(IsValidAutoStartDomain(domain)) << "domain case " << std::wstring(domain).size();
  }
}

class Collection : public testing::Test {
 protected:
  void SetUp() override {
    TypeClusterEntries(wizard.view);
    wizard.dialog.OnInitDialog();
    TypeClusterEntries(wizard.view);
    wizard.log.lines.clear();
  }
  ClusterLab cluster;
  WizardOnLab wizard{cluster.temp};
};

TEST_F(Collection, BothServersFillTheFirst17RowsInStage1) {
  wizard.view.entries[IDC_AUTOSTART_DOMAIN] = L"HA1";
  wizard.dialog.OnStep1();
  EXPECT_TRUE(wizard.view.boxes.empty());
  EXPECT_TRUE(wizard.view.IsEnabled(IDC_STEP2));
  EXPECT_EQ(wizard.view.busyChanges, (std::vector<bool>{true, false})) << "busy while gathering, then not";
  ASSERT_EQ(wizard.view.rows.size(), 17u);
  EXPECT_EQ(Column(wizard.view, 1)[0], L"node-a");
  EXPECT_EQ(Column(wizard.view, 2)[0], L"node-b");
  EXPECT_EQ(wizard.view.rows[2][1], L"10.1.1.1");
  EXPECT_EQ(wizard.view.rows[2][2], L"10.1.1.2");
  EXPECT_EQ(wizard.view.rows[6][1], L"ha.example");
  EXPECT_EQ(wizard.view.rows[16][2], L"HA enabled");
  EXPECT_EQ(wizard.dialog.Node2Info.AutoStartDomain, L"HA1") << "the records take the domain as typed";
  EXPECT_EQ(wizard.dialog.AutoStartDomain, L"HA1");
  EXPECT_EQ(wizard.view.entries[IDC_AUTOSTART_DOMAIN], L"HA1") << "the entries are shown again";
  EXPECT_EQ(wizard.log.lines.front().message, kValidating);
  EXPECT_EQ(wizard.lab->OpenHandleCount(), 0u);
}

TEST_F(Collection, Node1UnreachableStopsBeforeNode2AndLeavesTheList) {
  wizard.view.entries[IDC_NODE1_HOST_NAME] = L"node-x";
  wizard.dialog.OnStep1();
  EXPECT_EQ(wizard.ownerlessBox.texts,
            std::vector<std::wstring>{L"Unable to connect to the registry on server node-x."});
  const std::wstring failed = L"Errors occured trying to obtain information from server node-x.";
  EXPECT_EQ(wizard.view.boxes, (std::vector<ShownBox>{{failed, L""}}));
  EXPECT_EQ(wizard.log.lines.back(), (LoggedLine{failed, LogClass::LogError}));
  for (const auto& line : wizard.log.lines) EXPECT_EQ(line.message.find(L"node-b"), std::wstring::npos);
  EXPECT_EQ(wizard.dialog.Node2Info.HostName, L"") << "nothing of node 2 is kept";
  EXPECT_FALSE(wizard.view.IsEnabled(IDC_STEP2));
  EXPECT_EQ(Column(wizard.view, 1), std::vector<std::wstring>(17));
  EXPECT_EQ(wizard.view.busyChanges, (std::vector<bool>{true, false}));
}

TEST_F(Collection, Node2FailureKeepsTheLastCompleteListAndStep2) {
  wizard.dialog.OnStep1();
  ASSERT_TRUE(wizard.view.IsEnabled(IDC_STEP2));
  const auto before = wizard.view.rows;

  LabServerFaults unreachable;
  unreachable.unreachable = true;
  wizard.lab->SetFaults(L"node-b", unreachable);
  wizard.view.entries[IDC_MANAGED_HOST_NAME] = L"another";
  wizard.dialog.OnStep1();
  EXPECT_EQ(wizard.view.boxes.back(),
            (ShownBox{L"Errors occured trying to obtain information from server node-b.", L""}));
  EXPECT_EQ(wizard.view.rows, before) << "a failed collection neither fills nor clears the list";
  EXPECT_TRUE(wizard.view.IsEnabled(IDC_STEP2)) << "a failing Step 1 after a good one leaves Step 2 enabled";
  EXPECT_EQ(wizard.view.entries[IDC_MANAGED_HOST_NAME], L"another");
}

TEST_F(Collection, PressesUnderAnOwnerlessBoxStartNothing) {
  LabServerFaults unreachable;
  unreachable.unreachable = true;
  wizard.lab->SetFaults(L"node-b", unreachable);
  wizard.ownerlessBox.whileShown = [&] {
    wizard.dialog.OnStep1();
    wizard.dialog.OnStep2();
    wizard.dialog.OnReset();
    wizard.dialog.OnExit();
  };
  wizard.dialog.OnStep1();
  EXPECT_EQ(wizard.ownerlessBox.texts.size(), 1u) << "one gathering only";
  EXPECT_EQ(wizard.view.boxes,
            (std::vector<ShownBox>{{L"Errors occured trying to obtain information from server node-b.", L""}}))
      << "no question was asked";
  EXPECT_EQ(wizard.view.busyChanges, (std::vector<bool>{true, false}));

  wizard.ownerlessBox.whileShown = nullptr;
  wizard.view.answers = {false};
  wizard.dialog.OnExit();
  EXPECT_EQ(wizard.view.boxes.back().caption, L"Confirm Exit Request") << "handlers run again afterwards";
}

TEST(NodePairReader, TellsWhatAReadOfOneServerAfterTheOtherTells) {
  struct Case {
    const char* what;
    LabServerFaults node1;
    LabServerFaults node2;
  };
  LabServerFaults unreachable;
  unreachable.unreachable = true;
  LabServerFaults servicesDenied;
  servicesDenied.serviceManagerError = status::AccessDenied;
  LabServerFaults slow;
  slow.latency = std::chrono::milliseconds(2);
  const Case cases[] = {
      {"both read", {}, {}},
      {"node 1 unreachable: nothing of node 2", unreachable, {}},
      {"node 2 unreachable, its box after node 1's lines", {}, unreachable},
      {"both unreachable: node 1's box only", unreachable, unreachable},
      {"a slow node 1 and node 2's service manager refused", slow, servicesDenied},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ClusterLab cluster;
    const std::unique_ptr<Lab> lab = WizardOnLab::LoadOrFail(cluster.temp);
    lab->SetFaults(L"NODE-A", c.node1);
    lab->SetFaults(L"node-b", c.node2);
    Platform platform = lab->MakePlatform();

    ToldInOrder serial;
    cNode serial1(platform, serial, serial);
    cNode serial2(platform, serial, serial);
    for (cNode* node : {&serial1, &serial2}) node->AutoStartDomain = L"ha1";
    serial1.HostName = L"node-a";
    serial2.HostName = L"node-b";
    const Status serialStatus = serial1.GetNodeInfo() != status::Success ? ~0u : serial2.GetNodeInfo();

    ToldInOrder paired;
    ResponsiveRemoteCalls calls(platform, [] {});
    NodePairReader reader(platform, paired, paired, calls);
    cNode node1(calls.ForGathering(), paired, paired);
    cNode node2(calls.ForGathering(), paired, paired);
    const NodesRead read = reader.ReadNodes({L"node-a", L"node-b", L"ha1"}, node1, node2);

    EXPECT_EQ(paired.told, serial.told);
    EXPECT_EQ(read.status == status::Success, serialStatus == status::Success);
    EXPECT_EQ(read.failed, read.status == status::Success ? nullptr : serialStatus == ~0u ? &node1 : &node2);
    EXPECT_EQ(node2.HostName, serialStatus == ~0u ? L"" : L"node-b") << "node 2's record only when node 1 was read";
    EXPECT_EQ(node2.Clan.IpAddress, serial2.Clan.IpAddress);
    EXPECT_EQ(node2.AgentServiceStatus, serial2.AgentServiceStatus);
  }
}
