// Step 2: the two servers compared, the answers saved for the next run, and that run in stage 2.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/lab/lab_files.h"
#include "resource.h"
#include "support/cluster_wizard.h"

namespace {
constexpr wchar_t kCaption[] = L"Validation Errors Detected.";
constexpr wchar_t kStage1Complete[] =
    L"No problems have been found.\r\n\r\nYou must now exit the wizard and continue with the installation/upgrade "
    L"process.";
constexpr char kSavedFile[] =
    "1\r\nha-managed\r\n10.1.1.5\r\n10.2.2.5\r\nnode-a\r\nnode-b\r\nadmin\r\nworkgroup\r\n3\r\nha1\r\n127.0.0.1\r\n";

void Gathered(cNode& node, const wchar_t* host) {
  node.HostName = host;
  node.SwitchIpAddress = L"10.9.9.1";
  node.Clan.Domain = L"ha.example";
  node.AgentServiceStatus = node.BackboneServiceStatus = node.MirrorServiceStatus = node.TransportServiceStatus =
      L"Running";
}
}  // namespace

TEST(ValidateNodeInformation, ReportsEveryFindingInOrderInOneBox) {
  struct Case {
    const char* what;
    int stage;
    std::function<void(WizardDialog&)> change;
    std::wstring report;  // empty: no finding
  };
  const Case cases[] = {
      {"servers agree", 0, [](WizardDialog&) {}, L""},
      {"both switch addresses empty", 0,
       [](WizardDialog& d) { d.Node1Info.SwitchIpAddress = d.Node2Info.SwitchIpAddress = L""; }, L""},
      {"switch addresses differ in case only", 0, [](WizardDialog& d) { d.Node2Info.SwitchIpAddress = L"10.9.9.1A"; },
       L"The switch IP addresses do not match. node-a = 10.9.9.1, node-b = 10.9.9.1A\r\n"},
      {"CLAN domain differs by case", 0, [](WizardDialog& d) { d.Node2Info.Clan.Domain = L"HA.example"; },
       L"The CLAN domains do not match. node-a = ha.example, node-b = HA.example\r\n"},
      {"both differ: switch line first", 0,
       [](WizardDialog& d) {
         d.Node1Info.Clan.Domain = L"";
         d.Node2Info.SwitchIpAddress = L"10.9.9.2";
       },
       L"The switch IP addresses do not match. node-a = 10.9.9.1, node-b = 10.9.9.2\r\n"
       L"The CLAN domains do not match. node-a = , node-b = ha.example\r\n"},
      {"stage 1 ignores the services", 0, [](WizardDialog& d) { d.Node1Info.AgentServiceStatus = L"Stopped"; }, L""},
      {"stage 2, one service of node 2 not running", 1,
       [](WizardDialog& d) { d.Node2Info.MirrorServiceStatus = L"Not installed"; },
       L"At least one of the EMC services on server node-b is not running.\r\n"},
      {"stage 2, services named by the entries, all four lines", 1,
       [](WizardDialog& d) {
         d.Node2Info.SwitchIpAddress = L"";
         d.Node1Info.Clan.Domain = L"x";
         d.Node1Info.TransportServiceStatus = L"Unknown";
         d.Node2Info.AgentServiceStatus = L"running";
         d.Node1HostName = L"typed-1";
         d.Node2HostName = L"typed-2";
       },
       L"The switch IP addresses do not match. node-a = 10.9.9.1, node-b = \r\n"
       L"The CLAN domains do not match. node-a = x, node-b = ha.example\r\n"
       L"At least one of the EMC services on server typed-1 is not running.\r\n"
       L"At least one of the EMC services on server typed-2 is not running.\r\n"},
  };
  ClusterLab cluster;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WizardOnLab wizard(cluster.temp);
    WizardDialog& d = wizard.dialog;
    Gathered(d.Node1Info, L"node-a");
    Gathered(d.Node2Info, L"node-b");
    d.WizardStage = c.stage;
    // The read at the start takes the entries from the controls.
    wizard.view.entries[IDC_NODE1_HOST_NAME] = L"node-a";
    wizard.view.entries[IDC_NODE2_HOST_NAME] = L"node-b";
    c.change(d);
    wizard.view.entries[IDC_NODE1_HOST_NAME] = d.Node1HostName.empty() ? L"node-a" : d.Node1HostName;
    wizard.view.entries[IDC_NODE2_HOST_NAME] = d.Node2HostName.empty() ? L"node-b" : d.Node2HostName;
    const Status rc = d.ValidateNodeInformation();
    if (c.report.empty()) {
      EXPECT_EQ(rc, status::Success);
      EXPECT_TRUE(wizard.view.boxes.empty());
      EXPECT_EQ(wizard.log.lines, (std::vector<LoggedLine>{{L"No validation errors detected.", LogClass::LogInfo}}));
    } else {
      EXPECT_EQ(rc, status::InvalidData);
      EXPECT_EQ(wizard.view.boxes, (std::vector<ShownBox>{{c.report, kCaption}}));
      EXPECT_EQ(wizard.log.lines,
                (std::vector<LoggedLine>{{kCaption, LogClass::LogError}, {c.report, LogClass::LogError}}));
    }
    EXPECT_EQ(wizard.lab->RemoteCallCount(), 0u);
  }
}

class Step2 : public testing::Test {
 protected:
  void SetUp() override {
    wizard.dialog.OnInitDialog();
    TypeClusterEntries(wizard.view);
    wizard.dialog.OnStep1();
    ASSERT_TRUE(wizard.view.IsEnabled(IDC_STEP2));
    wizard.view.boxes.clear();
    wizard.log.lines.clear();
  }
  std::string Saved() const { return cluster.temp.ReadDriveFile(kDefaultsPath); }

  ClusterLab cluster;
  WizardOnLab wizard{cluster.temp};
};

TEST_F(Step2, SavesElevenLinesAndAnnouncesTheEndOfStage1) {
  // The file records the host names Step 1 gathered, not what the entry reads now.
  wizard.view.entries[IDC_NODE1_HOST_NAME] = L"changed";
  wizard.dialog.OnStep2();
  EXPECT_EQ(Saved(), kSavedFile);
  std::vector<LoggedLine> expected = {{L"No validation errors detected.", LogClass::LogInfo}};
  for (const wchar_t* probe : kClusterLabProbeLines) expected.push_back({probe, LogClass::LogInfo});
  EXPECT_EQ(std::vector<LoggedLine>(wizard.log.lines.begin(), wizard.log.lines.begin() + 9), expected);
  wizard.log.lines.erase(wizard.log.lines.begin() + 1, wizard.log.lines.begin() + 9);
  EXPECT_EQ(wizard.log.lines,
            (std::vector<LoggedLine>{
                {L"No validation errors detected.", LogClass::LogInfo},
                {kClusterLabFindingA, LogClass::LogInfo},
                {kClusterLabFindingB, LogClass::LogInfo},
                {std::wstring(L"Cluster readiness report saved to ") + kTestReportPath + L".", LogClass::LogInfo},
                {L"Default values saved to D:\\Zandor\\HA\\ToolkitInstaller2.0\\HADefaults.dat.", LogClass::LogInfo}}));
  EXPECT_EQ(wizard.view.boxes, (std::vector<ShownBox>{{kStage1Complete, L"Stage 1 Complete"}}));
  EXPECT_EQ(wizard.dialog.WizardStage, 0) << "the window itself stays in stage 1";
  EXPECT_FALSE(wizard.view.IsEnabled(IDC_STEP3));

  wizard.dialog.OnStep2();
  EXPECT_EQ(wizard.view.boxes.size(), 2u) << "a second Step 2 saves and announces again";
  EXPECT_FALSE(cluster.temp.TemporaryLeftBeside(L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\HADefaults.dat"));
}

TEST_F(Step2, TheNextRunOpensInStage2WithTheListFilled) {
  wizard.dialog.OnStep2();
  WizardOnLab next(cluster.temp);
  next.dialog.OnInitDialog();
  EXPECT_EQ(next.dialog.WizardStage, 1);
  EXPECT_FALSE(next.view.IsEnabled(IDC_STEP1));
  EXPECT_FALSE(next.view.IsEnabled(IDC_STEP2));
  EXPECT_TRUE(next.view.IsEnabled(IDC_STEP3));
  ASSERT_EQ(next.view.rows.size(), 21u);
  EXPECT_EQ(next.view.rows[0][2], L"node-b");
  EXPECT_EQ(next.view.rows[20][0], L"EMC Transport Service");
  EXPECT_EQ(next.view.rows[20][1], L"Running");
  EXPECT_EQ(next.view.entries[IDC_AUTOSTART_DOMAIN], L"ha1");
  EXPECT_EQ(next.view.busyChanges, (std::vector<bool>{true, false}));
  EXPECT_TRUE(next.view.boxes.empty());
  // The collection comes before the feature check's line.
  EXPECT_EQ(next.log.lines.back().message, L"High availability feature installed and enabled.");
}

TEST(SaveDefaults, AFailedSaveKeepsTheOldFileAndAnnouncesNothing) {
  struct Case {
    const char* what;
    std::function<void(WizardOnLab&, TempLab&)> breakIt;
    std::wstring message;
    Status rc;
  };
  const std::wstring path = kDefaultsPath;
  const Case cases[] = {
      {"the disk fills up", [](WizardOnLab& on, TempLab&) { on.lab->Files().SetDiskFull(L'd', true); },
       L"Unable to write the file " + path + L". rc = 112", 112},
      {"the file is denied", [&](WizardOnLab& on, TempLab&) { on.lab->Files().DenyFileAccess(path); },
       L"Unable to open the file " + path + L". rc = 5", 2},
      // A single-byte file has no form for the euro sign or CJK: nothing is written rather than '?'.
      {"a value the file can't hold",
       [](WizardOnLab& on, TempLab&) { on.view.entries[IDC_WORKGROUP_DOMAIN_NAME] = L"gr\u00FCppe\u20AC\u65E5\u672C"; },
       L"Unable to write the file " + path + L". rc = 1113", 1113},
      {"the file is read-only",
       [&](WizardOnLab&, TempLab& temp) {
         std::filesystem::permissions(temp.DriveHostPath(path), std::filesystem::perms::owner_write,
                                      std::filesystem::perm_options::remove);
       },
       L"Unable to open the file " + path + L". rc = 5", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ClusterLab cluster;
    cluster.temp.WriteDriveFile(path, "earlier answers\r\n");
    WizardOnLab wizard(cluster.temp);
    wizard.dialog.OnInitDialog();
    TypeClusterEntries(wizard.view);
    wizard.dialog.OnStep1();
    c.breakIt(wizard, cluster.temp);
    wizard.log.lines.clear();
    wizard.dialog.OnStep2();
    EXPECT_EQ(cluster.temp.ReadDriveFile(path), "earlier answers\r\n");
    EXPECT_EQ(wizard.view.boxes, (std::vector<ShownBox>{{c.message, L""}})) << "no Stage 1 Complete";
    EXPECT_EQ(wizard.log.lines.back(), (LoggedLine{c.message, LogClass::LogError}));
    EXPECT_EQ(wizard.dialog.WizardStage, 0);
    wizard.dialog.WizardStage = 1;
    EXPECT_EQ(wizard.dialog.SaveDefaults(), c.rc);
    EXPECT_FALSE(cluster.temp.TemporaryLeftBeside(path));
  }
}

TEST_F(Step2, AMissingFolderCannotBeOpened) {
  std::filesystem::remove_all(cluster.temp.DriveHostPath(L"D:\\Zandor\\HA\\ToolkitInstaller2.0"));
  EXPECT_EQ(wizard.dialog.SaveDefaults(), status::FileNotFound);
  const std::wstring message = L"Unable to open the file D:\\Zandor\\HA\\ToolkitInstaller2.0\\HADefaults.dat. rc = 3";
  EXPECT_EQ(wizard.view.boxes, (std::vector<ShownBox>{{message, L""}}));
  EXPECT_EQ(wizard.log.lines, (std::vector<LoggedLine>{{message, LogClass::LogError}}));
}

TEST(ClusterReadiness, AFailFindingAsksWithNoPreselectedAndNoSavesNothing) {
  TempLab temp;
  std::filesystem::copy(std::filesystem::path(DUPLEX_LAB_DIR) / "crossed-heartbeats", temp.Folder(),
                        std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
  WizardOnLab wizard(temp);
  wizard.dialog.OnInitDialog();
  wizard.dialog.OnStep1();
  ASSERT_TRUE(wizard.view.IsEnabled(IDC_STEP2));
  const std::string before = temp.ReadDriveFile(kDefaultsPath);
  wizard.view.answers = {false};
  wizard.dialog.OnStep2();
  EXPECT_EQ(wizard.view.preselectedAnswers, std::vector<Answer>{Answer::No});
  ASSERT_EQ(wizard.view.boxes.size(), 1u);
  EXPECT_EQ(wizard.view.boxes[0].caption, L"Cluster Readiness");
  EXPECT_EQ(temp.ReadDriveFile(kDefaultsPath), before) << "No keeps the answers unsaved";
  EXPECT_TRUE(temp.DriveFileExists(kTestReportPath)) << "the report is saved whatever the answer";
}
