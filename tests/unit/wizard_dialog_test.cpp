#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/lab/lab_registry.h"
#include "resource.h"
#include "support/wizard_on_lab.h"

namespace {
constexpr wchar_t kDefaults[] = L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\HADefaults.dat";
constexpr wchar_t kNotInstalledBox[] =
    L"The high availability feature is not currently installed on the server. This tool should only be run on "
    L"servers that have the feature installed and enabled.\r\n\r\nPlease click on OK to exit the tool.";

std::string DefaultsWithStage(const std::string& stage) {
  return stage +
         "\r\nha-managed\r\n10.1.1.5\r\n10.2.2.5\r\nnode-a\r\nnode-b\r\nadmin\r\nworkgroup\r\n3\r\nha1\r\n127.0.0."
         "1\r\n";
}
}  // namespace

TEST(WizardDialogOpening, ButtonsRowsAndEntriesFollowTheStoredStage) {
  struct Case {
    const char* what;
    std::optional<std::string> stage;  // no defaults file when empty
    bool step1, step2, step3;
    std::size_t rows;
    std::wstring node1Entry;
  };
  const Case cases[] = {
      {"first run, no defaults file", std::nullopt, true, false, false, 17, L"node-a"},
      {"stage 0 stored", "0", true, false, false, 17, L"node-a"},
      {"stage 1 stored", "1", false, false, true, 21, L"node-a"},
      {"stage 5 stored leaves the template's buttons", "5", true, true, true, 17, L"node-a"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempLab temp(L"NODE-A");
    temp.SetHighAvailMode(L"NODE-A", 1);
    if (c.stage) temp.WriteDriveFile(kDefaults, DefaultsWithStage(*c.stage));
    WizardOnLab wizard(temp);
    wizard.dialog.OnInitDialog();
    const RecordingView& view = wizard.view;
    EXPECT_EQ(view.IsEnabled(IDC_STEP1), c.step1);
    EXPECT_EQ(view.IsEnabled(IDC_STEP2), c.step2);
    EXPECT_EQ(view.IsEnabled(IDC_STEP3), c.step3);
    EXPECT_EQ(view.rows.size(), c.rows);
    EXPECT_EQ(view.entries.at(IDC_NODE1_HOST_NAME), c.node1Entry) << "the computer name is shown in lower case";
    EXPECT_EQ(view.entries.at(IDC_MANAGED_HOST_NAME), c.stage ? L"ha-managed" : L"");
    EXPECT_EQ(view.boardSelection, c.stage ? 1 : -1);
    EXPECT_EQ(view.limits.at(IDC_AUTOSTART_DOMAIN), 8);
    EXPECT_TRUE(view.endedWith.empty());
  }
}

TEST(WizardDialogOpening, ListHasThreeColumnsAndTheHaRowLastOfTheFirst17) {
  TempLab temp;
  temp.SetHighAvailMode(L"NODE-A", 1);
  WizardOnLab wizard(temp);
  wizard.dialog.OnInitDialog();
  const RecordingView& view = wizard.view;
  EXPECT_EQ(view.columnHeaders, (std::vector<std::wstring>{L"Item", L"Node 1", L"Node 2"}));
  EXPECT_EQ(view.columnWidth, 150);
  ASSERT_EQ(view.rows.size(), 17u);
  EXPECT_EQ(view.rows[12][0], L"Mirror IP Address") << "the Mirror rows come before the HB2 rows";
  EXPECT_EQ(view.rows[15][0], L"HB2 Subnet Mask");
  EXPECT_EQ(view.rows[16][0], L"HA Feature");
  for (const auto& row : view.rows) EXPECT_EQ(row[1] + row[2], L"") << "no values before a collection";
}

TEST(WizardDialogOpening, FeatureCheckFindings) {
  struct Case {
    const char* what;
    std::optional<std::wstring> productKeyBody;  // no product key at all when empty
    std::vector<ShownBox> boxes;
    std::vector<LoggedLine> log;
    bool closes;
  };
  const std::wstring key = L"[HKEY_LOCAL_MACHINE\\Software\\Zandor\\Vestamail\\ConfigWizard]\n";
  const Case cases[] = {
      {"key missing",
       std::nullopt,
       {},
       {{L"RegOpenKeyEx(Software\\Zandor\\Vestamail\\ConfigWizard) failed. rc = 2", LogClass::LogError}},
       false},
      {"value too long to read",
       key + L"\"HighAvailMode\"=\"enabled\"\n",
       {},
       {{L"RegQueryValueEx(HighAvailMode) failed. rc = 234", LogClass::LogError}},
       false},
      {"value absent",
       key,
       {{kNotInstalledBox, L""}},
       {{L"The high availability feature is not currently installed on the server", LogClass::LogInfo}},
       true},
      {"value 0",
       key + L"\"HighAvailMode\"=dword:00000000\n",
       {{L"The high availability feature is installed on the server, but it is not enabled. This tool should only "
         L"be run on servers that have the feature installed and enabled. In order to enable the high availability "
         L"feature you need to run the Configuration Wizard and select the \"High Availability Mode\" option on the "
         L"Network Interface Card page.\r\n\r\nPlease click on OK to exit the tool.",
         L""}},
       {{L"High availability feature installed but not enabled.", LogClass::LogInfo}},
       true},
      {"value 1",
       key + L"\"HighAvailMode\"=dword:00000001\n",
       {},
       {{L"High availability feature installed and enabled.", LogClass::LogInfo}},
       false},
      {"one byte of data counts as its low byte",
       key + L"\"HighAvailMode\"=hex:01\n",
       {},
       {{L"High availability feature installed and enabled.", LogClass::LogInfo}},
       false},
      {"value 2", key + L"\"HighAvailMode\"=dword:00000002\n", {}, {}, false},
      {"value 256 is not 0", key + L"\"HighAvailMode\"=dword:00000100\n", {}, {}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempLab temp(L"NODE-A");
    if (c.productKeyBody) temp.AddRegFile(L"NODE-A", "product.reg", *c.productKeyBody);
    WizardOnLab wizard(temp);
    wizard.dialog.OnInitDialog();
    EXPECT_EQ(wizard.view.boxes, c.boxes);
    EXPECT_EQ(wizard.log.lines, c.log);
    EXPECT_EQ(wizard.view.endedWith, c.closes ? std::vector<int>{kDialogResultOk} : std::vector<int>{});
    EXPECT_EQ(wizard.lab->Registry().OpenHandleCount(), 0u) << "the product key is closed";
  }
}

class FieldExchange : public testing::Test {
 protected:
  FieldExchange() { temp.SetHighAvailMode(L"NODE-A", 1); }
  TempLab temp;
  WizardOnLab wizard{temp};
};

TEST_F(FieldExchange, ShowLowersHostNameEntriesOnlyAndSelectsTheBoardCountByPrefix) {
  WizardDialog& d = wizard.dialog;
  d.ManagedHostName = L"HA-Managed";
  d.Node1HostName = L"NODE-A";
  d.UserName = L"Admin";
  d.ManagedClanIp = L"10.1.1.X";
  d.AutoStartDomain = L"HA1";
  const std::vector<std::pair<std::wstring, int>> boardCases = {{L"3", 1}, {L"1", 0}, {L"", -1}, {L"x", -1}};
  for (const auto& [board, selection] : boardCases) {
    d.BoardCount = board;
    d.UpdateData(false);
    EXPECT_EQ(wizard.view.boardSelection, selection)
        << "board count '" << std::string(board.begin(), board.end()) << "'";
  }
  EXPECT_EQ(wizard.view.entries[IDC_MANAGED_HOST_NAME], L"ha-managed");
  EXPECT_EQ(wizard.view.entries[IDC_NODE1_HOST_NAME], L"node-a");
  EXPECT_EQ(wizard.view.entries[IDC_USER_NAME], L"admin");
  EXPECT_EQ(wizard.view.entries[IDC_MANAGED_CLAN_IP], L"10.1.1.X");
  EXPECT_EQ(wizard.view.entries[IDC_AUTOSTART_DOMAIN], L"HA1") << "the domain keeps its case";
}

TEST_F(FieldExchange, ReadTakesTheChosenItemAndLowersHostNames) {
  wizard.view.entries[IDC_NODE2_HOST_NAME] = L"Node-B";
  wizard.view.entries[IDC_CLAN_TEST_IP] = L"127.0.0.1";
  wizard.view.boardSelection = 1;
  EXPECT_TRUE(wizard.dialog.UpdateData(true));
  EXPECT_EQ(wizard.dialog.Node2HostName, L"node-b");
  EXPECT_EQ(wizard.dialog.BoardCount, L"3");
  EXPECT_EQ(wizard.dialog.ClanTestIp, L"127.0.0.1");
  wizard.view.boardSelection = -1;
  EXPECT_TRUE(wizard.dialog.UpdateData(true));
  EXPECT_EQ(wizard.dialog.BoardCount, L"");
}

TEST_F(FieldExchange, ReadStopsAtAnAutoStartDomainLongerThan8) {
  wizard.dialog.ClanTestIp = L"old";
  wizard.view.entries[IDC_AUTOSTART_DOMAIN] = L"ninechars";
  wizard.view.entries[IDC_CLAN_TEST_IP] = L"10.0.0.1";
  wizard.view.entries[IDC_USER_NAME] = L"admin";
  EXPECT_FALSE(wizard.dialog.UpdateData(true));
  EXPECT_EQ(wizard.view.boxes, (std::vector<ShownBox>{{L"Please enter no more than 8 characters.", L""}}));
  EXPECT_EQ(wizard.view.focusedEntry, IDC_AUTOSTART_DOMAIN);
  EXPECT_EQ(wizard.dialog.AutoStartDomain, L"ninechars") << "the long text is taken before the prompt";
  EXPECT_EQ(wizard.dialog.UserName, L"admin") << "entries before it were read";
  EXPECT_EQ(wizard.dialog.ClanTestIp, L"old") << "the read stops at the domain";
  wizard.view.entries[IDC_AUTOSTART_DOMAIN] = L"eightchr";
  EXPECT_TRUE(wizard.dialog.UpdateData(true));
}

TEST_F(FieldExchange, ExitAsksThenClosesOnlyWhenTheReadSucceeds) {
  wizard.view.answers = {false};
  wizard.dialog.OnExit();
  EXPECT_TRUE(wizard.view.endedWith.empty()) << "No keeps the window open";

  wizard.view.entries[IDC_AUTOSTART_DOMAIN] = L"toolongdomain";
  wizard.view.answers = {true};
  wizard.dialog.OnExit();
  EXPECT_TRUE(wizard.view.endedWith.empty()) << "a failed read keeps the window open";

  wizard.view.entries[IDC_AUTOSTART_DOMAIN] = L"ha1";
  wizard.view.answers = {true};
  wizard.dialog.OnExit();
  EXPECT_EQ(wizard.view.endedWith, std::vector<int>{kDialogResultOk});
  const ShownBox question{L"Are you sure that you want to exit?", L"Confirm Exit Request"};
  EXPECT_EQ(wizard.view.boxes.front(), question);
  EXPECT_EQ(wizard.view.boxes.back(), question);
}
