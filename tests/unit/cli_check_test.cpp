// check on a lab: each exit code, the findings printed and logged, the report saved, and nothing of the answers
// written.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cli/exit_codes.h"
#include "common/text_encoding.h"
#include "common/path_text.h"
#include "support/cli_run.h"
#include "support/cluster_wizard.h"

namespace fs = std::filesystem;

namespace {
// Node 2's HB1 on another network: a FAIL.
void MoveNode2Hb1(TempLab& lab) {
  lab.AddRegFile(L"node-b", "registry/zz-site.reg",
                 L"[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\" +
                     AdapterGuid(22) + L"]\n" + MultiStringValue(L"IPAddress", {L"10.33.3.2"}));
}

std::size_t ReportFiles(const fs::path& folder) {
  std::size_t count = 0;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) count += entry.path().extension() != "" ? 1 : 0;
  return count;
}
}  // namespace

TEST(CheckCommand, ExitCodeSaysTheWorstThatWasFound) {
  struct Case {
    const char* what;
    SiteChange site;       // none: the pair as it is
    std::wstring options;  // after the command, a space between words
    int exitCode;
    std::string printed;  // a line of the run's output that says why
    bool reported;        // the readiness report was saved
  };
  const Case cases[] = {
      // The report's path as the lab has it, and where that is on this computer.
      {"a clean pair: INFO only", nullptr, L"", exitcode::Clean,
       "The report was saved to C:\\ProgramData\\Zandor\\Reports\\readiness-20261208-143005.html (in the lab: ", true},
      {"one WARN alone: node 2's HB1 mask narrower, the network the same",
       [](TempLab& lab) {
         lab.AddRegFile(L"node-b", "registry/zz-site.reg",
                        L"[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\" +
                            AdapterGuid(22) + L"]\n" + MultiStringValue(L"SubnetMask", {L"255.255.255.128"}));
       },
       L"", exitcode::Warn, "readiness 0 FAIL, 1 WARN,", true},
      {"a WARN: the managed CLAN address outside both CLAN networks", AnswersWith("0", 2, "10.9.1.5"), L"",
       exitcode::Warn, "[WARN] R06 CLAN: The managed CLAN address (10.9.1.5) is outside the CLAN network of node-a",
       true},
      {"a FAIL: node 2's HB1 on another network", MoveNode2Hb1, L"", exitcode::Fail, "[FAIL] R02 HB1:", true},
      {"no drive C: the report can't be saved", [](TempLab& lab) { fs::remove_all(lab.Folder() / "drives" / "C"); },
       L"", exitcode::ReportNotSaved,
       "The readiness report could not be saved: Unable to save the cluster readiness report in C:\\ProgramData. rc = "
       "3",
       false},
      {"a full disk C: the report can't be saved", LabConfLine("disk-full = C"), L"", exitcode::ReportNotSaved,
       ".json. rc = 112", false},
      {"a FAIL matters more than the lost report",
       [](TempLab& lab) {
         MoveNode2Hb1(lab);
         lab.AddLabConfLine("disk-full = C");
       },
       L"", exitcode::Fail, "the report was not saved. Exit code 2.", false},
      {"a WARN of the wires: node 2 answers no echo", ServerFaults(L"node-b", "echo-blocked = yes\n"), L"",
       exitcode::Warn, "[WARN] R18 CLAN/ELAN/HB1/HB2/MIRROR: node-b answered no echo on any link", true},
      {"the same without probes: only R19 says so", ServerFaults(L"node-b", "echo-blocked = yes\n"), L"/No-Probes",
       exitcode::Clean, "[INFO] R19: The live link probes were turned off", true},
      {"a FAIL of the wires: HB2 of this computer unplugged", ServerFaults(L"NODE-A", "link-down = HB2\n"), L"",
       exitcode::Fail, "[FAIL] R12 HB2: The HB2 adapter of node-a is disconnected", true},
      {"a Step 2 validation error: the switch addresses differ",
       [](TempLab& lab) {
         lab.AddRegFile(L"node-b", "registry/zz-site.reg",
                        L"[HKEY_LOCAL_MACHINE\\Software\\Zandor\\Vestamail\\ConfigWizard]\n"
                        L"\"Switch IP Address\"=\"10.9.9.2\"\n");
       },
       L"", exitcode::Fail, "Validation Errors Detected.", true},
      {"an entry rule", AnswersWith("0", 6, ""), L"", exitcode::NotGathered, "You must specify a user name.", false},
      {"an AutoStart domain longer than its entry takes", AnswersWith("0", 9, "ha123456789"), L"",
       exitcode::NotGathered, "EMC AutoStart Domain Name: Please enter no more than 8 characters.", false},
      {"a board count that is none of the list's items", AnswersWith("0", 8, "2"), L"", exitcode::NotGathered,
       "Number of TMX48 Boards: \"2\" is not one of the list's items (1, 3).", false},
      {"no answers saved yet: said first, with what to do",
       [](TempLab& lab) { fs::remove(lab.DriveHostPath(kDefaultsPath)); }, L"", exitcode::NotGathered,
       "Save them with Steps 1 and 2 of the window, or name a file of them: check answers FILE", false},
      {"node 2 unreachable", ServerFaults(L"node-b", "unreachable = yes\n"), L"", exitcode::NotGathered,
       "Errors occured trying to obtain information from server node-b.", false},
      {"an answers file that is not there", nullptr, L"answers /nonexistent/answers.dat", exitcode::Usage,
       "The answers file /nonexistent/answers.dat cannot be read. It is not there.", false},
      // Through UTF-8: in the "C" locale a name beyond ASCII ended the program.
      {"an answers file named beyond ASCII", nullptr, L"answers /nonexistent/\u00e4nswers.dat", exitcode::Usage,
       "The answers file /nonexistent/\u00e4nswers.dat cannot be read.", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ClusterLab cluster;
    cluster.temp.WriteDriveFile(kDefaultsPath, kClusterAnswers);
    if (c.site) c.site(cluster.temp);
    const bool hadAnswers = cluster.temp.DriveFileExists(kDefaultsPath);
    const std::string answersBefore = cluster.temp.ReadDriveFile(kDefaultsPath);
    std::unique_ptr<Lab> lab = cluster.temp.Load();
    ASSERT_NE(lab, nullptr);

    const CliRun run = RunCli(*lab, Words(L"check " + c.options));
    EXPECT_EQ(run.exitCode, c.exitCode);
    // A run on a lab says so before anything else.
    ASSERT_FALSE(run.out.empty());
    EXPECT_EQ(run.out.front(), "Lab run: " + Utf8FromWide(WideFromPath(fs::absolute(cluster.temp.Folder()))));
    EXPECT_TRUE(Printed(run, c.printed)) << c.printed;
    if (c.exitCode != exitcode::Usage) {
      ASSERT_FALSE(run.out.empty());
      EXPECT_EQ(run.out.back().substr(0, 8), "Summary:");
      EXPECT_NE(run.out.back().find("Exit code " + std::to_string(c.exitCode) + "."), std::string::npos);
    }
    // Where the window keeps it: %ProgramData%\Zandor\Reports, on the lab's drive C.
    EXPECT_EQ(ReportFiles(cluster.temp.DriveHostPath(L"C:\\ProgramData\\Zandor\\Reports")), c.reported ? 2u : 0u);
    // Every line printed is in the install log.
    std::vector<std::string> logged;
    for (const std::wstring& message : run.log.Messages()) logged.push_back(Utf8FromWide(message));
    for (const std::vector<std::string>* stream : {&run.out, &run.err}) {
      for (const std::string& line : *stream) EXPECT_TRUE(AnyLineHolds(logged, line)) << line;
    }
    // A check writes nothing of the wizard's own.
    EXPECT_EQ(cluster.temp.DriveFileExists(kDefaultsPath), hadAnswers);
    EXPECT_EQ(cluster.temp.ReadDriveFile(kDefaultsPath), answersBefore);
    EXPECT_FALSE(cluster.temp.DriveFileExists(L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\values.dat"));
    EXPECT_FALSE(cluster.temp.DriveFileExists(L"E:\\Zandor\\HA\\AutoStart_Configuration.ini"));
    EXPECT_EQ(lab->OpenHandleCount(), 0u);
  }
}

// Both servers are read at once, but the log keeps each one's lines together, Node 1's first, as the window's Step 1
// has them.
TEST(CheckCommand, LogsEachServerTogetherAsTheWindowDoes) {
  ClusterLab cluster;
  cluster.temp.WriteDriveFile(kDefaultsPath, kClusterAnswers);
  // A slow network keeps both readings going at the same time, so that their lines would mix if nothing kept them
  // apart.
  for (const wchar_t* server : {L"NODE-A", L"node-b"})
    cluster.temp.WriteServerFile(server, "faults.conf", "latency-ms = 0.1\n");
  std::unique_ptr<Lab> lab = cluster.temp.Load();
  ASSERT_NE(lab, nullptr);
  const CliRun run = RunCli(*lab, {L"check"}, true);
  ASSERT_EQ(run.exitCode, exitcode::Clean);

  WizardOnLab window(cluster.temp);
  window.dialog.OnInitDialog();
  window.log.lines.clear();
  TypeClusterEntries(window.view);
  ASSERT_EQ(window.dialog.CollectNodeInformation(), 0u);
  const std::vector<std::wstring> windowLines = window.log.Messages();
  const std::vector<std::wstring> cliLines = run.log.Messages();
  const auto first = std::find(cliLines.begin(), cliLines.end(), windowLines.front());
  ASSERT_NE(first, cliLines.end());
  ASSERT_LE(static_cast<std::size_t>(cliLines.end() - first), cliLines.size());
  EXPECT_EQ(std::vector<std::wstring>(first, first + static_cast<std::ptrdiff_t>(windowLines.size())), windowLines);
  // Progress goes to a terminal only, and never into the log.
  EXPECT_TRUE(AnyLineHolds(run.err, "node-b: reading its network adapters"));
  EXPECT_TRUE(AnyLineHolds(run.err, "node-a: read"));
  for (const std::wstring& line : cliLines) EXPECT_EQ(line.find(L": reading its"), std::wstring::npos);
}
