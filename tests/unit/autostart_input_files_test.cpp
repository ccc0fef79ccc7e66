// The installer's two input files: their layouts line by line, and what a failed write leaves.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "generation/autostart_input_files.h"
#include "platform/lab/lab_files.h"
#include "resource.h"
#include "support/cluster_wizard.h"

namespace {
constexpr wchar_t kIniPath[] = L"E:\\Zandor\\HA\\AutoStart_Configuration.ini";
constexpr wchar_t kValuesPath[] = L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\values.dat";

// What a Windows text file holding these lines looks like on disk.
std::string CrLfLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

// The lines of the values file for the cluster pair, as the installer script reads them.
std::vector<std::string> ClusterValues(const std::string& testAddress, bool withNodeClanLines) {
  std::vector<std::string> lines = {"node-a",   "node-b",   "10.2.2.0", "255.255.255.0", "10.2.2.1",
                                    "10.2.2.2", "10.9.9.1", "10.2.2.1", "10.2.2.2",      "",
                                    "10.2.2.5", "10.9.9.1", "10.1.1.0", "255.255.255.0", "10.1.1.1",
                                    "10.1.1.2", testAddress};
  if (withNodeClanLines) lines.insert(lines.end(), {"10.1.1.1", "10.1.1.2"});
  lines.insert(lines.end(), {"", "10.1.1.5", "10.1.1.254", "10.3.3.1", "10.3.3.2", "10.4.4.1", "10.4.4.2", "10.5.5.1",
                             "10.5.5.2", "admin", "workgroup", "C"});
  return lines;
}

class AutoStartInputFiles : public testing::Test {
 protected:
  void SetUp() override {
    cluster.temp.WriteDriveFile(L"E:\\Zandor\\HA\\README.txt", "the INI file's folder\r\n");
    wizard = std::make_unique<WizardOnLab>(cluster.temp);
    wizard->dialog.OnInitDialog();
    TypeClusterEntries(wizard->view);
    ASSERT_EQ(wizard->dialog.CollectNodeInformation(), status::Success);
    wizard->log.lines.clear();
  }
  WizardDialog& Dialog() { return wizard->dialog; }

  ClusterLab cluster;
  std::unique_ptr<WizardOnLab> wizard;
};
}  // namespace

TEST_F(AutoStartInputFiles, IniFileHoldsTheVirtualIdentityInThreeLines) {
  ASSERT_EQ(Dialog().WriteAutoStartIni(), status::Success);
  EXPECT_EQ(cluster.temp.ReadDriveFile(kIniPath),
            "[AutoStart]\r\nVirtualElanIP=10.2.2.5\r\nVirtualHostname=ha-managed\r\n");
  EXPECT_EQ(
      wizard->log.lines,
      (std::vector<LoggedLine>{{L"INI file E:\\Zandor\\HA\\AutoStart_Configuration.ini updated.", LogClass::LogInfo}}));
  EXPECT_TRUE(wizard->view.boxes.empty());
}

TEST_F(AutoStartInputFiles, ValuesFileHas29LinesOnlyForTheExactLoopbackText) {
  struct Case {
    std::wstring testAddress;
    bool withNodeClanLines;
  };
  const Case cases[] = {{L"127.0.0.1", false}, {L"10.1.1.1", true}, {L"127.0.0.01", true}, {L"127.000.0.1", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.testAddress.begin(), c.testAddress.end()));
    Dialog().ClanTestIp = c.testAddress;
    ASSERT_EQ(Dialog().WritePerlInputFile(), status::Success);
    const auto expected = ClusterValues(std::string(c.testAddress.begin(), c.testAddress.end()), c.withNodeClanLines);
    EXPECT_EQ(expected.size(), c.withNodeClanLines ? 31u : 29u);
    EXPECT_EQ(cluster.temp.ReadDriveFile(kValuesPath), CrLfLines(expected));
  }
  EXPECT_EQ(
      wizard->log.lines.back(),
      (LoggedLine{L"Perl input file D:\\Zandor\\HA\\ToolkitInstaller2.0\\values.dat updated.", LogClass::LogInfo}));
}

TEST_F(AutoStartInputFiles, MissingValuesStayAsEmptyLinesAndNode1StandsForThePair) {
  Dialog().Node1Info.Clan.DefaultGateway.clear();
  Dialog().Node2Info.Clan.SubnetMask = L"255.255.0.0";
  Dialog().Node2Info.SwitchIpAddress = L"10.9.9.2";
  const std::vector<std::wstring> lines = PerlInputLines(Dialog(), Dialog().Node1Info, Dialog().Node2Info);
  ASSERT_EQ(lines.size(), 29u);
  EXPECT_EQ(lines[19], L"") << "the gateway line of the 29-line form";
  EXPECT_EQ(lines[13], L"255.255.255.0") << "the CLAN mask is node 1's";
  EXPECT_EQ(lines[6], L"10.9.9.1");
  EXPECT_EQ(lines[11], L"10.9.9.1");
  EXPECT_EQ(lines.back(), L"C");
}

TEST_F(AutoStartInputFiles, AFailedWriteLeavesNoHalfFileAndIsToldWithItsCode) {
  // A values file from an earlier run stays whole when the disk fills up during the new one.
  cluster.temp.WriteDriveFile(kValuesPath, "earlier values\r\n");
  wizard->lab->Files().SetDiskFull(L'D', true);
  EXPECT_EQ(Dialog().WritePerlInputFile(), status::DiskFull);
  EXPECT_EQ(cluster.temp.ReadDriveFile(kValuesPath), "earlier values\r\n");
  const std::wstring writeMessage = L"Unable to write the file " + std::wstring(kValuesPath) + L". rc = 112";
  EXPECT_EQ(wizard->view.boxes, (std::vector<ShownBox>{{writeMessage, L""}}));
  EXPECT_EQ(wizard->log.lines, (std::vector<LoggedLine>{{writeMessage, LogClass::LogError}}));

  // Without its folder the INI file can't be opened at all.
  std::filesystem::remove_all(cluster.temp.DriveHostPath(L"E:\\Zandor"));
  EXPECT_EQ(Dialog().WriteAutoStartIni(), status::PathNotFound);
  EXPECT_EQ(wizard->view.boxes.back().text, L"Unable to open the file " + std::wstring(kIniPath) + L". rc = 3");
}
