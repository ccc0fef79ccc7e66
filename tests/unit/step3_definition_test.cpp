// Step 3 on a lab: the installer run through the lab's command interpreter, waited for by the
// lab's clock, and its definition file confirmed only when this run wrote it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/lab/lab_machine.h"
#include "platform/lab/lab_processes.h"
#include "resource.h"
#include "support/cluster_wizard.h"
#include "support/scoped_environment.h"

namespace fs = std::filesystem;

namespace {
constexpr wchar_t kDefinition[] = L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\Vestamail-Mirroring.def";
constexpr wchar_t kIniPath[] = L"E:\\Zandor\\HA\\AutoStart_Configuration.ini";
constexpr wchar_t kValuesPath[] = L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\values.dat";
constexpr wchar_t kManifest[] = L"D:\\Program Files\\EMC AutoStart\\ha1\\manifest";
constexpr wchar_t kComplete[] =
    L"The definition file has been successfully generated. The definition file will be imported into the EMC "
    L"AutoStart Console later in the configuration process.\r\n\r\nYou must now exit the wizard and continue with "
    L"the installation/upgrade process.";
constexpr wchar_t kCommand[] =
    L"cmd /c \"\"D:\\Program Files\\EMC AutoStart\\ha1\\bin\\ftPerl\" install.pl Vestamail-Mirroring ha1 "
    L"\"D:\\Program Files\\EMC AutoStart\" < \"D:\\Zandor\\HA\\ToolkitInstaller2.0\\values.dat\" ";

// The cluster pair saved by Step 2 with three boards, and the product installed for domain ha1:
// its manifest, as the lab plays its installer itself.
class Step3 : public testing::Test {
 protected:
  void SetUp() override {
    cluster.temp.WriteDriveFile(kDefaultsPath,
                                "1\r\nha-managed\r\n10.1.1.5\r\n10.2.2.5\r\nnode-a\r\nnode-b\r\nadmin\r\nworkgroup\r\n"
                                "3\r\nha1\r\n127.0.0.1\r\n");
    cluster.temp.WriteDriveFile(L"E:\\Zandor\\HA\\README.txt", "the INI file's folder\r\n");
    cluster.temp.WriteDriveFile(kManifest, "installed\r\n");
  }

  // Opens the window in stage 2 (its own collection runs) and starts from a clean record.
  WizardOnLab& Opened() {
    wizard = std::make_unique<WizardOnLab>(cluster.temp);
    wizard->dialog.OnInitDialog();
    EXPECT_TRUE(wizard->view.IsEnabled(IDC_STEP3));
    wizard->view.boxes.clear();
    wizard->log.lines.clear();
    wizard->view.busyChanges.clear();
    return *wizard;
  }
  std::vector<ShownBox> Boxes() const { return wizard->view.boxes; }
  int Started() const { return wizard->lab->Processes().StartedCount(); }

  ClusterLab cluster;
  std::unique_ptr<WizardOnLab> wizard;
};

std::vector<std::wstring> Messages(const std::vector<LoggedLine>& lines) {
  std::vector<std::wstring> messages;
  for (const auto& line : lines) messages.push_back(line.message);
  return messages;
}
}  // namespace

TEST_F(Step3, GeneratesTheDefinitionAndLogsTheRunInOrder) {
  WizardOnLab& w = Opened();
  w.dialog.OnStep3();
  EXPECT_EQ(Boxes(), (std::vector<ShownBox>{{kComplete, L"Phase 2 Complete"}}));
  const std::vector<std::wstring> messages = Messages(w.log.lines);
  ASSERT_GE(messages.size(), 17u);
  // The validation's line, the same line from the service check, the link probes, the readiness
  // checks (two INFO findings on this pair), then the files and the run.
  std::vector<std::wstring> expected = {L"No validation errors detected.", L"No validation errors detected."};
  expected.insert(expected.end(), std::begin(kClusterLabProbeLines), std::end(kClusterLabProbeLines));
  expected.insert(expected.end(), {kClusterLabFindingA, kClusterLabFindingB,
                                   std::wstring(L"Cluster readiness report saved to ") + kTestReportPath + L".",
                                   L"INI file E:\\Zandor\\HA\\AutoStart_Configuration.ini updated.",
                                   L"Perl input file D:\\Zandor\\HA\\ToolkitInstaller2.0\\values.dat updated.",
                                   L"Executing command " + std::wstring(kCommand) +
                                       L" in directory D:\\Zandor\\HA\\ToolkitInstaller2.0",
                                   kComplete});
  EXPECT_EQ(std::vector<std::wstring>(messages.end() - 17, messages.end()), expected);
  EXPECT_NE(cluster.temp.ReadDriveFile(kDefinition).find("node-b"), std::string::npos);
  EXPECT_EQ(w.view.busyChanges, (std::vector<bool>{true, false}));
  EXPECT_TRUE(w.view.IsEnabled(IDC_STEP3)) << "the run changes no button";
  EXPECT_FALSE(w.view.IsEnabled(IDC_STEP1));

  // A second run writes both files and starts the installer again.
  fs::remove(cluster.temp.DriveHostPath(kDefinition));
  w.dialog.OnStep3();
  EXPECT_EQ(Started(), 2);
  EXPECT_EQ(Boxes().size(), 2u);
  EXPECT_TRUE(cluster.temp.DriveFileExists(kDefinition));
}

TEST_F(Step3, WaitsForASlowInstallerUpToTheBoundByTheLabsClock) {
  struct Case {
    std::uint32_t extraRunTimeMs;
    bool confirmed;
  };
  // Four minutes is within the bound; six minutes is not. The lab's clock moves, not the test's.
  for (const Case c : {Case{4 * 60 * 1000, true}, Case{6 * 60 * 1000, false}}) {
    SCOPED_TRACE(c.extraRunTimeMs);
    WizardOnLab& w = Opened();
    w.lab->Processes().SetExtraRunTime(c.extraRunTimeMs);
    const std::uint64_t before = w.lab->MachineInfo().NowMilliseconds();
    w.dialog.OnStep3();
    const std::uint64_t waited = w.lab->MachineInfo().NowMilliseconds() - before;
    ASSERT_EQ(Boxes().size(), 1u);
    if (c.confirmed) {
      EXPECT_EQ(Boxes()[0].caption, L"Phase 2 Complete");
      EXPECT_GE(waited, c.extraRunTimeMs);
    } else {
      EXPECT_EQ(Boxes()[0].text,
                L"The installer is still running after 5 minutes, so the definition file " + std::wstring(kDefinition) +
                    L" could not be confirmed. Let the installer finish (its window is minimised), then run Step 3 "
                    L"again.");
      EXPECT_EQ(w.log.lines.back().messageClass, LogClass::LogError);
      EXPECT_GE(waited, 5u * 60 * 1000);
    }
    // The window was kept painted all along the wait, a slice at a time.
    EXPECT_GE(w.view.repaintsWhileBusy, static_cast<int>(std::min<std::uint64_t>(c.extraRunTimeMs, 300000) / 100) - 1);
    EXPECT_EQ(w.view.busyChanges, (std::vector<bool>{true, false}));
  }
}

TEST_F(Step3, ADefinitionLeftByAnEarlierRunNeverCountsForThisOne) {
  // The link probes run off the window's thread too, and on a loaded machine may take long enough
  // to repaint; this test counts the installer's waits alone.
  const ScopedEnvironmentVariable probesOff("DUPLEX_SETUP_PROBES", "off");
  cluster.temp.WriteDriveFile(kDefinition, "from an earlier run\r\n");
  // The installer can't be started: its failure is the whole outcome.
  {
    WizardOnLab& w = Opened();
    w.lab->Processes().SetStartError(status::FileNotFound);
    w.dialog.OnStep3();
    const std::wstring message =
        L"Unable to execute " + std::wstring(kCommand) + L" in directory D:\\Zandor\\HA\\ToolkitInstaller2.0";
    EXPECT_EQ(Boxes(), (std::vector<ShownBox>{{message, L""}}));
    EXPECT_EQ(w.log.lines.back(), (LoggedLine{message, LogClass::LogError}));
    EXPECT_EQ(w.view.repaintsWhileBusy, 0) << "nothing to wait for";
  }
  // The installer starts but fails without writing: the file there is still the old one.
  {
    WizardOnLab& w = Opened();
    LabInstallerFaults writesNothing;
    writesNothing.writesDefinition = false;
    w.lab->Processes().SetInstallerFaults(writesNothing);
    w.dialog.OnStep3();
    EXPECT_EQ(Started(), 1);
    EXPECT_EQ(Boxes(),
              (std::vector<ShownBox>{{L"The installer did not generate the definition file " +
                                          std::wstring(kDefinition) + L": the file there was left by an earlier run.",
                                      L""}}));
  }
  EXPECT_EQ(cluster.temp.ReadDriveFile(kDefinition), "from an earlier run\r\n");
}

TEST_F(Step3, StopsBeforeWritingAnythingWithoutTheProductsManifest) {
  fs::remove(cluster.temp.DriveHostPath(kManifest));
  WizardOnLab& w = Opened();
  w.dialog.OnStep3();
  const std::wstring message =
      L"Based on the AutoStart domain name ha1, the directory where the AutoStart software should be installed in is "
      L"D:\\Program Files\\EMC AutoStart\\ha1, however this directory does not exist. Please confirm that the "
      L"supplied AutoStart domain name is  correct and that the AutoStart software is installed in the correct "
      L"directory.";
  EXPECT_EQ(Boxes(), (std::vector<ShownBox>{{message, L""}}));
  EXPECT_EQ(w.log.lines.back(), (LoggedLine{message, LogClass::LogInfo}));
  EXPECT_FALSE(cluster.temp.DriveFileExists(kIniPath));
  EXPECT_FALSE(cluster.temp.DriveFileExists(kValuesPath));
  EXPECT_EQ(Started(), 0);
}

TEST_F(Step3, ChecksTheServicesItselfWhenTheStoredStageSkippedThem) {
  // A stored stage of 2 enables every step, and the validation then leaves the services out.
  cluster.temp.WriteDriveFile(kDefaultsPath,
                              "2\r\nha-managed\r\n10.1.1.5\r\n10.2.2.5\r\nnode-a\r\nnode-b\r\nadmin\r\nworkgroup\r\n"
                              "3\r\nha1\r\n127.0.0.1\r\n");
  cluster.temp.WriteServerFile(L"node-b", "services.txt", ClusterServiceList(L"ha1", 1));
  WizardOnLab& w = Opened();
  w.dialog.OnStep3();
  const std::wstring report = L"At least one of the EMC services on server node-b is not running.\r\n";
  EXPECT_EQ(Boxes(), (std::vector<ShownBox>{{report, L"Validation Errors Detected."}}));
  EXPECT_EQ(
      std::vector<LoggedLine>(w.log.lines.end() - 2, w.log.lines.end()),
      (std::vector<LoggedLine>{{L"Validation Errors Detected.", LogClass::LogError}, {report, LogClass::LogError}}));
  EXPECT_FALSE(cluster.temp.DriveFileExists(kIniPath));
  EXPECT_EQ(Started(), 0);
}

TEST_F(Step3, ABoardCountOtherThanOneOrThreeStopsAfterTheFilesAreWritten) {
  WizardOnLab& w = Opened();
  // Only a drop-down with other items than the template's can hand over such a count.
  w.view.boardItems = {L"1", L"2", L"3"};
  w.view.boardSelection = 1;
  w.dialog.OnStep3();
  const std::wstring message = L"The number of TMX48 boards specified, 2, is invalid. It must be either 1 or 3.";
  EXPECT_EQ(Boxes(), (std::vector<ShownBox>{{message, L""}}));
  EXPECT_EQ(w.log.lines.back(), (LoggedLine{message, LogClass::LogError}));
  EXPECT_TRUE(cluster.temp.DriveFileExists(kIniPath));
  EXPECT_TRUE(cluster.temp.DriveFileExists(kValuesPath));
  EXPECT_EQ(Started(), 0);
}
