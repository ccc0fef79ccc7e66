// The commands through Wine's real cmd.exe, as a script or a person at the prompt runs them: the findings
// on the console in order, a redirected file holding every line, and the exit code in %ERRORLEVEL%.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "installer_fixtures.h"
#include "platform/lab/lab_folder.h"
#include "peer_registry.h"
#include "system_fixtures.h"
#include "wine_fixtures.h"
#include "wine_pair.h"

namespace {
constexpr wchar_t kDomain[] = L"ha1";

// Node 1 (this computer) and node 2 (the peer): one subnet per link, .11 and .12 on it, each CLAN with
// two addresses, GUIDs of the test's own in both letter cases.
const std::vector<WinePairConnection> kNode1 = {
    {L"CLAN", L"{D0000041-5EED-4D0C-A000-000000000041}", {L"10.1.1.11", L"10.1.1.101"}, L"255.255.255.0"},
    {L"ELAN", L"{d0000042-5eed-4d0c-a000-000000000042}", {L"10.2.2.11"}, L"255.255.255.0"},
    {L"HB1", L"{D0000043-5EED-4D0C-A000-000000000043}", {L"192.168.101.11"}, L"255.255.255.0"},
    {L"HB2", L"{D0000044-5eed-4D0C-A000-000000000044}", {L"192.168.102.11"}, L"255.255.255.0"},
    {L"MIRROR", L"{D0000045-5EED-4D0C-A000-000000000045}", {L"192.168.103.11"}, L"255.255.255.0"},
};
const std::vector<WinePairConnection> kNode2 = {
    {L"CLAN", L"{D0000051-5EED-4D0C-A000-000000000051}", {L"10.1.1.12", L"10.1.1.102"}, L"255.255.255.0"},
    {L"ELAN", L"{D0000052-5EED-4D0C-A000-000000000052}", {L"10.2.2.12"}, L"255.255.255.0"},
    {L"HB1", L"{D0000053-5EED-4D0C-A000-000000000053}", {L"192.168.101.12"}, L"255.255.255.0"},
    {L"HB2", L"{D0000054-5EED-4D0C-A000-000000000054}", {L"192.168.102.12"}, L"255.255.255.0"},
    {L"MIRROR", L"{D0000055-5EED-4D0C-A000-000000000055}", {L"192.168.103.12"}, L"255.255.255.0"},
};

RegFileText PairRegistry() {
  RegFileText file;
  AddWineServer(file, L"", kNode1, L"ha.example.local");
  AddWineServer(file, kPeerRoot, kNode2, L"ha.example.local");
  return file;
}

// The pair with the four services of domain ha1 running. Made once for the suite.
struct PairState {
  ScopedRegImport registry{WinePairOwnedKeys(kNode1), PairRegistry()};
  ScopedTestService agent{kDomain, true};
  ScopedTestService backbone{std::wstring(kDomain) + L"_BACKBONE", true};
  ScopedTestService mirror{L"EMC AutoStart Mirror Service", true};
  ScopedTestService transport{L"EMC AutoStart Transport Service", true};
};

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

std::vector<std::string> CrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// The messages of SetupLogKit's lines ("<date> <time> DuplexSetup INFO  <message>", or WARN, or ERROR).
std::vector<std::string> LoggedMessages(const std::string& log) {
  std::vector<std::string> messages;
  for (const std::string& line : CrLfLines(log)) {
    for (const char* tag : {"DuplexSetup INFO  ", "DuplexSetup WARN  ", "DuplexSetup ERROR "}) {
      if (const auto at = line.find(tag); at != std::string::npos) messages.push_back(line.substr(at + 18));
    }
  }
  return messages;
}

bool Contains(const std::vector<std::string>& lines, const std::string& text) {
  for (const std::string& line : lines) {
    if (line.find(text) != std::string::npos) return true;
  }
  return false;
}

struct CmdRun {
  std::string problem;
  DWORD cmdExitCode = ~0u;
  std::string errorLevel;          // what %ERRORLEVEL% held once the program had ended
  std::vector<std::string> lines;  // the redirected file: standard output and error, in order
  std::vector<std::string> logged;
  int reportFiles = 0;  // files in the report folder named on the command line
};

// Runs `command` from a batch file in the build folder, through the system's cmd.exe, with standard output and
// error redirected to one file; the answers, the log and the report folder (named with `report`) are the test's own.
// With `lab`, the run is one on that lab (DUPLEX_SETUP_LAB), whose drive C: keeps any report: no `report` is named.
CmdRun RunThroughCmd(const std::wstring& command, const std::string& answers, const std::wstring& lab = L"") {
  TempFolder folder;
  CmdRun run;
  WriteFileBytes(folder.File(L"answers.dat"), answers);
  // A batch file reads each line anew, so %ERRORLEVEL% is the code of the line before it. The redirection
  // comes first: "echo 2> file" would redirect standard error instead of writing the 2.
  const std::wstring script = folder.File(L"run.cmd");
  const std::wstring report = lab.empty() ? L" report " + Quoted(folder.File(L"Reports")) : L"";
  const std::wstring text = L"@echo off\r\ncd /d " + Quoted(OnDriveZ(DUPLEX_BUILD_DIR)) + L"\r\n" + command +
                            L" answers " + Quoted(folder.File(L"answers.dat")) + report + L" > " +
                            Quoted(folder.File(L"output.txt")) + L" 2>&1\r\n> " +
                            Quoted(folder.File(L"errorlevel.txt")) + L" echo %ERRORLEVEL%\r\nexit /b %ERRORLEVEL%\r\n";
  WriteFileBytes(script, std::string(text.begin(), text.end()));

  const ScopedEnvironmentVariable log(L"SETUPLOGKIT_LOG_FILE", folder.File(L"InstallLog.txt"));
  const ScopedEnvironmentVariable labOrNone(L"DUPLEX_SETUP_LAB", lab);
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  const CommandResult result =
      RunCommand(Quoted(std::wstring(system) + L"\\cmd.exe") + L" /c " + Quoted(script), 120000);
  run.problem = result.problem;
  run.cmdExitCode = result.exitCode;
  run.errorLevel = ReadFileBytes(folder.File(L"errorlevel.txt"));
  while (!run.errorLevel.empty() &&
         (run.errorLevel.back() == '\n' || run.errorLevel.back() == '\r' || run.errorLevel.back() == ' ')) {
    run.errorLevel.pop_back();
  }
  run.lines = CrLfLines(ReadFileBytes(folder.File(L"output.txt")));
  run.logged = LoggedMessages(ReadFileBytes(folder.File(L"InstallLog.txt")));
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW(folder.File(L"Reports\\readiness-*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      ++run.reportFiles;
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  return run;
}

// A stage-2 answers file (the defaults file's eleven lines) for node 1 = this computer and node 2 = the peer.
std::string Answers(const std::string& managedClan, const std::string& managedElan, const std::string& node2) {
  std::wstring computer = ComputerName();
  const std::string node1(computer.begin(), computer.end());
  return "1\r\nha-managed\r\n" + managedClan + "\r\n" + managedElan + "\r\n" + node1 + "\r\n" + node2 +
         "\r\nadmin\r\nworkgroup\r\n3\r\nha1\r\n127.0.0.1\r\n";
}

class CommandLineThroughCmd : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { pair_ = std::make_unique<PairState>(); }
  static void TearDownTestSuite() { pair_.reset(); }
  void SetUp() override {
    ASSERT_EQ(pair_->registry.Problem(), "");
    ASSERT_EQ(pair_->agent.Problem(), "");
    ASSERT_EQ(pair_->backbone.Problem(), "");
    ASSERT_EQ(pair_->mirror.Problem(), "");
    ASSERT_EQ(pair_->transport.Problem(), "");
  }
  static inline std::unique_ptr<PairState> pair_;
};
}  // namespace

TEST_F(CommandLineThroughCmd, ErrorLevelAndRedirectedOutputOfEachOutcome) {
  // The program as shipped is found by its name alone: cmd.exe takes DuplexSetupAssistant.com before the .exe.
  // The pair's node 2 is reached only by the tests' build of the same console program (peer_console).
  const std::wstring shipped = L"DuplexSetupAssistant";
  const std::wstring peer = L"duplex_peer_console.exe";
  struct Case {
    const char* what;
    std::wstring command;
    std::string answers;
    int exitCode;
    std::vector<std::string> printed;  // lines of the output, each found in it (a part of a line)
  };
  const Case cases[] = {
      {"a clean pair",
       peer + L" check",
       Answers("10.1.1.5", "10.2.2.5", "duplex-peer"),
       0,
       {"Step 2 validation: no validation errors detected.", "[INFO] R11 CLAN:", "The report was saved to ",
        "Summary: ", "Exit code 0."}},
      {"a pair with a WARN",
       peer + L" /check",
       Answers("10.9.1.5", "10.2.2.5", "duplex-peer"),
       1,
       {"[WARN] R06 CLAN: The managed CLAN address (10.9.1.5) is outside the CLAN network of", "Exit code 1."}},
      {"a pair with a FAIL",
       peer + L" --check",
       Answers("10.1.1.5", "10.2.2.12", "duplex-peer"),
       2,
       {"[FAIL] R05 ELAN: 10.2.2.12 is used twice", "Exit code 2."}},
      {"node 2 out of reach, by the program as shipped",
       shipped + L" check",
       Answers("10.1.1.5", "10.2.2.5", "duplex-absent"),
       3,
       {"Unable to connect to the registry on server duplex-absent.",
        "Errors occured trying to obtain information from server duplex-absent.", "Exit code 3."}},
      {"a usage error, by the program as shipped",
       shipped + L" check --forse",
       Answers("", "", ""),
       4,
       {"\"--forse\" is not an option of check."}},
      {"a usage error, by the window program itself",
       L"DuplexSetupAssistant.exe /bogus",
       Answers("", "", ""),
       4,
       {"Unknown command \"/bogus\"."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const CmdRun run = RunThroughCmd(c.command, c.answers);
    ASSERT_EQ(run.problem, "");
    EXPECT_EQ(run.errorLevel, std::to_string(c.exitCode));
    EXPECT_EQ(run.cmdExitCode, static_cast<DWORD>(c.exitCode));
    for (const std::string& text : c.printed) EXPECT_TRUE(Contains(run.lines, text)) << text;
    // Every line the redirected file holds is in the install log too, and the log has the exit code.
    ASSERT_FALSE(run.lines.empty());
    for (const std::string& line : run.lines) EXPECT_TRUE(Contains(run.logged, line)) << line;
    EXPECT_TRUE(Contains(run.logged, "Exit code " + std::to_string(c.exitCode) + "."));
    // A check that reached the readiness checks left its report, HTML and JSON, where it was told.
    EXPECT_EQ(run.reportFiles, c.exitCode <= 2 ? 2 : 0);
  }
}

// Step 3 on a lab works in the Windows program as in the lab edition: the lab plays the product's
// installer itself, so generate on a copy of the demo lab ends with its definition file confirmed.
TEST(WindowsProgramOnALab, GenerateConfirmsTheDefinitionFile) {
  TempFolder folder;
  const std::filesystem::path lab(folder.File(L"lab"));
  std::string error;
  ASSERT_TRUE(CopyLabFolder(std::filesystem::path(OnDriveZ(DUPLEX_DEMO_LAB_PATH)), lab, &error)) << error;
  const CmdRun run = RunThroughCmd(L"DuplexSetupAssistant generate",
                                   "1\r\nha-managed\r\n10.1.1.5\r\n10.2.2.5\r\nnode-a\r\nnode-b\r\nadmin\r\n"
                                   "workgroup\r\n1\r\nha1\r\n127.0.0.1\r\n",
                                   lab.wstring());
  ASSERT_EQ(run.problem, "");
  EXPECT_EQ(run.errorLevel, "0");
  EXPECT_TRUE(Contains(run.lines, "Phase 2 Complete"));
  const std::string definition =
      ReadFileBytes(folder.File(L"lab\\drives\\D\\Zandor\\HA\\ToolkitInstaller2.0\\Vestamail-Mirroring-Single.def"));
  EXPECT_EQ(definition.rfind(
                "# Cluster definition written by the lab's stand-in installer (install.pl) from values.dat.\r\n", 0),
            0u)
      << definition;
  EXPECT_NE(definition.find("Node 2: node-b\r\n"), std::string::npos);
}
