// Reset: the saved answers forgotten and the window back in stage 1, only when the user says so.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/lab/lab_files.h"
#include "resource.h"
#include "support/cluster_wizard.h"

namespace {
constexpr char kStage2File[] =
    "1\r\nha-managed\r\n10.1.1.5\r\n10.2.2.5\r\nnode-a\r\nnode-b\r\nadmin\r\nworkgroup\r\n3\r\nha1\r\n127.0.0.1\r\n";
const ShownBox kQuestion{L"Are you sure that you want to reset the tool?", L"Confirm Reset Request"};
const std::wstring kDeleting = L"Deleting the file D:\\Zandor\\HA\\ToolkitInstaller2.0\\HADefaults.dat.";

class Reset : public testing::Test {
 protected:
  void OpenInStage2() {
    cluster.temp.WriteDriveFile(kDefaultsPath, kStage2File);
    wizard = std::make_unique<WizardOnLab>(cluster.temp);
    wizard->dialog.OnInitDialog();
    ASSERT_EQ(wizard->view.rows.size(), 21u);
    wizard->view.entries[IDC_NODE1_HOST_NAME] = L"typed-over";
    wizard->log.lines.clear();
  }
  ClusterLab cluster;
  std::unique_ptr<WizardOnLab> wizard;
};
}  // namespace

TEST_F(Reset, AnsweredNoChangesNothing) {
  OpenInStage2();
  const auto rows = wizard->view.rows;
  wizard->view.answers = {false};
  wizard->dialog.OnReset();
  EXPECT_EQ(wizard->view.boxes, std::vector<ShownBox>{kQuestion});
  EXPECT_TRUE(wizard->log.lines.empty());
  EXPECT_EQ(wizard->view.rows, rows);
  EXPECT_EQ(wizard->dialog.WizardStage, 1);
  EXPECT_TRUE(wizard->view.IsEnabled(IDC_STEP3));
  EXPECT_TRUE(cluster.temp.DriveFileExists(kDefaultsPath));
}

TEST_F(Reset, AnsweredYesReturnsAStage2WindowToStage1) {
  OpenInStage2();
  wizard->view.answers = {true};
  wizard->dialog.OnReset();
  EXPECT_EQ(wizard->view.boxes, std::vector<ShownBox>{kQuestion}) << "no message says the reset is done";
  EXPECT_EQ(wizard->log.lines, (std::vector<LoggedLine>{{kDeleting, LogClass::LogInfo}}));
  EXPECT_FALSE(cluster.temp.DriveFileExists(kDefaultsPath));
  EXPECT_EQ(wizard->dialog.WizardStage, 0);
  EXPECT_TRUE(wizard->view.IsEnabled(IDC_STEP1));
  EXPECT_FALSE(wizard->view.IsEnabled(IDC_STEP2));
  EXPECT_FALSE(wizard->view.IsEnabled(IDC_STEP3));
  ASSERT_EQ(wizard->view.rows.size(), 17u) << "the service rows are gone";
  for (const auto& row : wizard->view.rows) EXPECT_EQ(row[1] + row[2], L"");
  EXPECT_EQ(wizard->view.rows[16][0], L"HA Feature");
  EXPECT_EQ(wizard->dialog.Node1HostName, L"NODE-A");
  EXPECT_EQ(wizard->view.entries[IDC_NODE1_HOST_NAME], L"node-a") << "node 1 is this computer again";
  EXPECT_EQ(wizard->view.entries[IDC_MANAGED_HOST_NAME], L"ha-managed") << "other entries keep their text";

  // Step 1 can be run at once, and the next run opens in stage 1.
  wizard->dialog.OnStep1();
  EXPECT_TRUE(wizard->view.IsEnabled(IDC_STEP2));
  EXPECT_EQ(wizard->view.rows[17 - 1][1], L"HA enabled");
  WizardOnLab next(cluster.temp);
  next.dialog.OnInitDialog();
  EXPECT_EQ(next.dialog.WizardStage, 0);
}

TEST_F(Reset, WithoutAFileOnlyLogsTheDeletion) {
  WizardOnLab fresh(cluster.temp);
  fresh.dialog.OnInitDialog();
  fresh.log.lines.clear();
  fresh.view.answers = {true};
  fresh.dialog.OnReset();
  EXPECT_EQ(fresh.view.boxes, std::vector<ShownBox>{kQuestion});
  EXPECT_EQ(fresh.log.lines, (std::vector<LoggedLine>{{kDeleting, LogClass::LogInfo}}));
  EXPECT_EQ(fresh.dialog.DeleteDefaultsFile(), status::FileNotFound);
}

TEST_F(Reset, WithoutAFileStillReturnsAGatheredWindowToItsStart) {
  WizardOnLab fresh(cluster.temp);
  fresh.dialog.OnInitDialog();
  TypeClusterEntries(fresh.view);
  // The servers the other way round, so that Node 1 is not this computer when Reset comes.
  fresh.view.entries[IDC_NODE1_HOST_NAME] = L"node-b";
  fresh.view.entries[IDC_NODE2_HOST_NAME] = L"node-a";
  fresh.dialog.OnStep1();
  ASSERT_TRUE(fresh.view.IsEnabled(IDC_STEP2));
  ASSERT_EQ(fresh.view.rows[0][1], L"node-b");
  fresh.view.answers = {true};
  fresh.dialog.OnReset();
  EXPECT_FALSE(cluster.temp.DriveFileExists(kDefaultsPath));
  EXPECT_FALSE(fresh.view.IsEnabled(IDC_STEP2));
  EXPECT_TRUE(fresh.view.IsEnabled(IDC_STEP1));
  ASSERT_EQ(fresh.view.rows.size(), 17u);
  for (const auto& row : fresh.view.rows) EXPECT_EQ(row[1] + row[2], L"");
  EXPECT_EQ(fresh.view.entries[IDC_NODE1_HOST_NAME], L"node-a");
}

TEST_F(Reset, AFileThatCannotBeChangedStopsIt) {
  OpenInStage2();
  wizard->lab->Files().DenyFileAccess(kDefaultsPath);
  wizard->view.answers = {true};
  wizard->dialog.OnReset();
  const std::wstring message =
      L"Unable to change the file attributes of D:\\Zandor\\HA\\ToolkitInstaller2.0\\HADefaults.dat to normal.";
  EXPECT_EQ(wizard->view.boxes, (std::vector<ShownBox>{kQuestion, {message, L""}}));
  EXPECT_EQ(wizard->log.lines, (std::vector<LoggedLine>{{kDeleting, LogClass::LogInfo}, {message, LogClass::LogInfo}}));
  EXPECT_TRUE(cluster.temp.DriveFileExists(kDefaultsPath));
  EXPECT_EQ(wizard->dialog.WizardStage, 1);
  EXPECT_TRUE(wizard->view.IsEnabled(IDC_STEP3));
  EXPECT_EQ(wizard->view.rows.size(), 21u);
  EXPECT_EQ(wizard->view.entries[IDC_NODE1_HOST_NAME], L"typed-over");
}

TEST_F(Reset, AReadOnlyFileIsMadeNormalThenDeleted) {
  OpenInStage2();
  std::filesystem::permissions(cluster.temp.DriveHostPath(kDefaultsPath), std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  EXPECT_EQ(wizard->lab->Files().RemoveFile(kDefaultsPath), status::AccessDenied) << "as DeleteFileW refuses it";
  EXPECT_EQ(wizard->dialog.DeleteDefaultsFile(), status::Success);
  EXPECT_FALSE(cluster.temp.DriveFileExists(kDefaultsPath));
}
