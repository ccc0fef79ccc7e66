// The lab's processes run for real: small scripts stand in for programs and tell how they were
// started; the bundled labs' stand-ins of the installer write their definition file.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "common/status.h"
#include "platform/lab/lab.h"
#include "platform/lab/lab_machine.h"
#include "platform/lab/lab_processes.h"
#include "support/temp_lab.h"

namespace fs = std::filesystem;

namespace {

constexpr wchar_t kToolkit[] = L"D:\\Zandor\\HA\\ToolkitInstaller2.0";
constexpr std::uint32_t kInfinite = 0xFFFFFFFF;
// A bound on real waits for programs that end at once, never reached when all is well.
constexpr std::uint32_t kGenerousMs = 60000;

constexpr wchar_t kSingleBoard[] =
    L"cmd /c \"\"D:\\Program Files\\EMC AutoStart\\ha1\\bin\\ftPerl\" install.pl Vestamail-Mirroring-Single ha1 "
    L"\"D:\\Program Files\\EMC AutoStart\" < \"D:\\Zandor\\HA\\ToolkitInstaller2.0\\values.dat\" \"";
constexpr wchar_t kThreeBoards[] =
    L"cmd /c \"\"D:\\Program Files\\EMC AutoStart\\ha1\\bin\\ftPerl\" install.pl Vestamail-Mirroring ha1 "
    L"\"D:\\Program Files\\EMC AutoStart\" < \"D:\\Zandor\\HA\\ToolkitInstaller2.0\\values.dat\" ";

// Prints each argument, the folder it runs in and its standard input.
constexpr char kTellingScript[] =
    "#!/bin/sh\n"
    "for word in \"$@\"; do printf 'arg=[%s]\\n' \"$word\"; done\n"
    "printf 'folder=%s\\n' \"$(pwd -P)\"\n"
    "printf 'input=%s\\n' \"$(cat)\"\n";

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteProgram(TempLab& temp, const std::wstring& windowsPath, const std::string& text, bool executable = true) {
  temp.WriteDriveFile(windowsPath, text);
  fs::permissions(temp.DriveHostPath(windowsPath),
                  executable ? fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read
                             : fs::perms::owner_read | fs::perms::owner_write);
}

std::unique_ptr<Lab> LoadLab(const TempLab& temp) {
  std::string error;
  auto lab = temp.Load(&error);
  EXPECT_NE(lab, nullptr) << error;
  return lab;
}

// No child of this test process is left, running or ended and uncollected.
bool NoChildLeft() { return waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD; }

// The 29 lines Step 3 writes for the demo pair, one board, CLAN test address 127.0.0.1.
std::vector<std::string> DemoValues() {
  return {"node-a",
          "node-b",
          "10.2.2.0",
          "255.255.255.0",
          "10.2.2.11",
          "10.2.2.12",
          "10.2.2.250",
          "10.2.2.11",
          "10.2.2.12",
          "",
          "10.2.2.5",
          "10.2.2.250",
          "10.1.1.0",
          "255.255.255.0",
          "10.1.1.11",
          "10.1.1.12",
          "127.0.0.1",
          "",
          "10.1.1.5",
          "10.1.1.1",
          "192.168.101.11",
          "192.168.101.12",
          "192.168.102.11",
          "192.168.102.12",
          "192.168.103.11",
          "192.168.103.12",
          "admin",
          "workgroup",
          "C"};
}

std::string CrLfLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace

TEST(LabProcessRuns, BothInstallerFormsReachTheProgramWithItsWordsFolderAndInput) {
  for (const wchar_t* commandLine : {kSingleBoard, kThreeBoards}) {
    const bool single = commandLine == kSingleBoard;
    SCOPED_TRACE(single ? "one board" : "three boards");
    TempLab temp;
    // Other letter cases than the command's, as NTFS would not mind.
    WriteProgram(temp, L"D:\\program files\\EMC AUTOSTART\\ha1\\BIN\\FTPERL.EXE", kTellingScript);
    temp.WriteDriveFile(L"D:\\zandor\\ha\\toolkitinstaller2.0\\VALUES.DAT", "first\r\nsecond\r\n");
    auto lab = LoadLab(temp);
    ASSERT_NE(lab, nullptr);
    std::unique_ptr<StartedProcess> process;
    ASSERT_EQ(lab->Processes().Start(commandLine, kToolkit, &process), status::Success);
    ASSERT_TRUE(process->WaitForEnd(kGenerousMs));
    EXPECT_EQ(lab->Processes().LastExitCode(), 0);
    EXPECT_EQ(ReadAll(lab->ConsoleLogFile()),
              std::string("arg=[install.pl]\n") +
                  (single ? "arg=[Vestamail-Mirroring-Single]\n" : "arg=[Vestamail-Mirroring]\n") +
                  "arg=[ha1]\narg=[D:\\Program Files\\EMC AutoStart]\n" +
                  "folder=" + fs::canonical(temp.DriveHostPath(L"D:\\zandor\\ha\\toolkitinstaller2.0")).string() +
                  "\n" + "input=first\r\nsecond\r\n");
  }
}

TEST(LabProcessRuns, FindsTheProgramAsCmdDoes) {
  struct Case {
    const char* what;
    const wchar_t* commandLine;
    const char* console;
  };
  const Case cases[] = {
      {"a lone quoted name with blanks keeps its quotes, found through PATHEXT", L"cmd /c \"D:\\My Tools\\run it\"",
       "ran run it.exe\n"},
      {"a bare name in the current directory, .EXE tried before .BAT", L"cmd /c tell", "ran tell.exe\n"},
      {"a name with its extension", L"cmd /c TELL.BAT", "ran tell.bat\n"},
      {"a path from the current directory", L"cmd /c sub\\tell", "ran sub-tell.exe\n"},
      {"a path from the current drive's root", L"cmd /c \"\\My Tools\\run it\"", "ran run it.exe\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempLab temp;
    WriteProgram(temp, L"D:\\My Tools\\run it.exe", "#!/bin/sh\necho ran run it.exe\n");
    WriteProgram(temp, L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\tell.bat", "#!/bin/sh\necho ran tell.bat\n");
    WriteProgram(temp, L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\tell.exe", "#!/bin/sh\necho ran tell.exe\n");
    WriteProgram(temp, L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\sub\\tell.exe", "#!/bin/sh\necho ran sub-tell.exe\n");
    auto lab = LoadLab(temp);
    ASSERT_NE(lab, nullptr);
    std::unique_ptr<StartedProcess> process;
    ASSERT_EQ(lab->Processes().Start(c.commandLine, kToolkit, &process), status::Success);
    ASSERT_TRUE(process->WaitForEnd(kGenerousMs));
    EXPECT_EQ(ReadAll(lab->ConsoleLogFile()), c.console);
  }
}

TEST(LabProcessRuns, AFileWithoutItsExecBitRunsOnlyWhenItIsAScript) {
  struct Case {
    const char* what;
    const char* content;
    const char* console;
    int exitCode;
  };
  const Case cases[] = {
      {"a script that lost its exec bit in a copy", "#!/bin/sh -e\necho ran \"$1\"\nexit 3\n", "ran x\n", 3},
      {"anything else", "MZ not a script\n", "Access is denied.\r\n", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempLab temp;
    WriteProgram(temp, L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\prog.exe", c.content, false);
    auto lab = LoadLab(temp);
    ASSERT_NE(lab, nullptr);
    std::unique_ptr<StartedProcess> process;
    ASSERT_EQ(lab->Processes().Start(L"cmd /c prog x", kToolkit, &process), status::Success);
    ASSERT_TRUE(process->WaitForEnd(kGenerousMs));
    EXPECT_EQ(lab->Processes().LastExitCode(), c.exitCode);
    EXPECT_EQ(ReadAll(lab->ConsoleLogFile()), c.console);
  }
}

TEST(LabProcessRuns, NoEndedProcessIsLeftUncollected) {
  TempLab temp;
  WriteProgram(temp, L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\quick.exe", "#!/bin/sh\nexit 0\n");
  // Waits for a line through a named pipe, so that the test decides when it ends.
  WriteProgram(temp, L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\gated.exe", "#!/bin/sh\nread line < gate\nexit 7\n");
  const fs::path gate = temp.DriveHostPath(L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\gate");
  ASSERT_EQ(mkfifo(gate.c_str(), 0600), 0);
  // Held open for reading and writing, neither the script's open nor the test's write blocks.
  const int gateFd = open(gate.c_str(), O_RDWR);
  ASSERT_GE(gateFd, 0);
  auto lab = LoadLab(temp);
  ASSERT_NE(lab, nullptr);
  LabProcesses& processes = lab->Processes();

  // Waited for to its end.
  {
    std::unique_ptr<StartedProcess> process;
    ASSERT_EQ(processes.Start(L"cmd /c quick", kToolkit, &process), status::Success);
    ASSERT_TRUE(process->WaitForEnd(kGenerousMs));
    EXPECT_TRUE(NoChildLeft());
  }

  // Let go of while it still runs: it is collected all the same when it ends.
  {
    std::unique_ptr<StartedProcess> process;
    ASSERT_EQ(processes.Start(L"cmd /c gated", kToolkit, &process), status::Success);
    EXPECT_FALSE(process->WaitForEnd(0));
    EXPECT_FALSE(processes.LastExitCode().has_value());
  }
  // Kept open until the end, or a line the script has not read yet would go with the pipe.
  ASSERT_EQ(write(gateFd, "go\n", 3), 3);
  const bool allEnded = processes.WaitForEveryEnd(kGenerousMs);
  close(gateFd);
  ASSERT_TRUE(allEnded);
  EXPECT_EQ(processes.LastExitCode(), 7);
  EXPECT_TRUE(NoChildLeft());
  EXPECT_EQ(processes.StartedCount(), 2);
}

TEST(LabProcessRuns, ExtraRunTimePassesOnTheLabsClockWithoutWaiting) {
  TempLab temp;
  WriteProgram(temp, L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\quick.exe", "#!/bin/sh\nexit 0\n");
  {
    std::ofstream conf(temp.Folder() / "lab.conf", std::ios::app);
    conf << "process-delay-ms = 600000\n";
  }
  auto lab = LoadLab(temp);
  ASSERT_NE(lab, nullptr);
  LabProcesses& processes = lab->Processes();
  LabMachine& machine = lab->MachineInfo();

  // Ten minutes in one-minute waits: each unfinished wait moves the clock a minute on.
  const std::uint64_t before = machine.NowMilliseconds();
  std::unique_ptr<StartedProcess> process;
  ASSERT_EQ(processes.Start(L"cmd /c quick", kToolkit, &process), status::Success);
  int waits = 0;
  bool ended = false;
  while (!ended && waits < 20) {
    const std::uint64_t start = machine.NowMilliseconds();
    ended = process->WaitForEnd(60000);
    ++waits;
    const std::uint64_t passed = machine.NowMilliseconds() - start;
    if (!ended) {
      EXPECT_GE(passed, 60000u) << "wait " << waits;
      EXPECT_LT(passed, 65000u) << "wait " << waits;
    }
  }
  EXPECT_TRUE(ended);
  EXPECT_GE(waits, 10);
  EXPECT_LE(waits, 11);
  // The last wait stopped the clock at the process's end, not a minute further.
  const std::uint64_t atEnd = machine.NowMilliseconds() - before;
  EXPECT_GE(atEnd, 600000u);
  EXPECT_LT(atEnd, 600000u + 30000u);
  EXPECT_TRUE(process->WaitForEnd(0)) << "once ended, ended";

  // A wait without a bound goes straight to the end.
  processes.SetExtraRunTime(3600000);
  const std::uint64_t second = machine.NowMilliseconds();
  ASSERT_EQ(processes.Start(L"cmd /c quick", kToolkit, &process), status::Success);
  EXPECT_TRUE(process->WaitForEnd(kInfinite));
  EXPECT_GE(machine.NowMilliseconds() - second, 3600000u);
  EXPECT_LT(machine.NowMilliseconds() - second, 3600000u + 30000u);
}

TEST(LabProcessRuns, TheBundledStandInsWriteTheDefinitionFromTheValuesFile) {
  // A copy, as the lab edition and the scenario runner make one: the exec bit must come along.
  TempLab temp;
  const fs::path copy = temp.Folder() / "demo";
  fs::copy(fs::path(DUPLEX_LAB_DIR) / "demo", copy, fs::copy_options::recursive);
  const fs::path ftPerl = copy / "drives/D/Program Files/EMC AutoStart/ha1/bin/ftPerl.exe";
  EXPECT_NE(fs::status(ftPerl).permissions() & fs::perms::owner_exec, fs::perms::none)
      << "the bundled ftPerl.exe lost its exec bit (git add --chmod=+x)";
  const fs::path toolkit = copy / "drives/D/Zandor/HA/ToolkitInstaller2.0";
  std::string error;
  auto lab = Lab::Load(copy, &error);
  ASSERT_NE(lab, nullptr) << error;
  LabProcesses& processes = lab->Processes();

  const std::string expected =
      "# Cluster definition written by the lab's stand-in installer (install.pl) from values.dat.\r\n"
      "Definition:        Vestamail-Mirroring-Single\r\n"
      "AutoStart domain:  ha1\r\n"
      "Install directory: D:\\Program Files\\EMC AutoStart\r\n"
      "\r\n"
      "Node 1: node-a\r\n"
      "  ELAN    10.2.2.11\r\n"
      "  CLAN    10.1.1.11\r\n"
      "  HB1     192.168.101.11\r\n"
      "  HB2     192.168.102.11\r\n"
      "  MIRROR  192.168.103.11\r\n"
      "Node 2: node-b\r\n"
      "  ELAN    10.2.2.12\r\n"
      "  CLAN    10.1.1.12\r\n"
      "  HB1     192.168.101.12\r\n"
      "  HB2     192.168.102.12\r\n"
      "  MIRROR  192.168.103.12\r\n"
      "\r\n"
      "ELAN: subnet 10.2.2.0, mask 255.255.255.0, switch 10.2.2.250, managed address 10.2.2.5\r\n"
      "CLAN: subnet 10.1.1.0, mask 255.255.255.0, gateway 10.1.1.1, test address 127.0.0.1, managed address "
      "10.1.1.5\r\n"
      "\r\n"
      "User:      admin\r\n"
      "Workgroup: workgroup\r\n";
  {
    std::ofstream(toolkit / "values.dat", std::ios::binary) << CrLfLines(DemoValues());
    std::unique_ptr<StartedProcess> process;
    ASSERT_EQ(processes.Start(kSingleBoard, kToolkit, &process), status::Success);
    ASSERT_TRUE(process->WaitForEnd(kGenerousMs));
    EXPECT_EQ(processes.LastExitCode(), 0) << ReadAll(lab->ConsoleLogFile());
    EXPECT_EQ(ReadAll(toolkit / "Vestamail-Mirroring-Single.def"), expected);
  }
  // The 31-line form: the node CLAN addresses once more after a test address that isn't 127.0.0.1.
  {
    std::vector<std::string> values = DemoValues();
    values[16] = "10.1.1.1";
    values.insert(values.begin() + 17, {"10.1.1.11", "10.1.1.12"});
    std::ofstream(toolkit / "values.dat", std::ios::binary) << CrLfLines(values);
    std::unique_ptr<StartedProcess> process;
    ASSERT_EQ(processes.Start(kThreeBoards, kToolkit, &process), status::Success);
    ASSERT_TRUE(process->WaitForEnd(kGenerousMs));
    EXPECT_EQ(processes.LastExitCode(), 0) << ReadAll(lab->ConsoleLogFile());
    std::string expected31 = expected;
    expected31.replace(expected31.find("-Single"), 7, "");
    expected31.replace(expected31.find("test address 127.0.0.1"), 22, "test address 10.1.1.1");
    EXPECT_EQ(ReadAll(toolkit / "Vestamail-Mirroring.def"), expected31);
  }
  // One line short: an error on the console and nothing written.
  {
    fs::remove(toolkit / "Vestamail-Mirroring-Single.def");
    std::vector<std::string> values = DemoValues();
    values.pop_back();
    std::ofstream(toolkit / "values.dat", std::ios::binary) << CrLfLines(values);
    std::unique_ptr<StartedProcess> process;
    ASSERT_EQ(processes.Start(kSingleBoard, kToolkit, &process), status::Success);
    ASSERT_TRUE(process->WaitForEnd(kGenerousMs));
    EXPECT_EQ(processes.LastExitCode(), 1);
    EXPECT_FALSE(fs::exists(toolkit / "Vestamail-Mirroring-Single.def"));
    EXPECT_NE(ReadAll(lab->ConsoleLogFile()).find("the values file has 28 lines, not 29 or 31; nothing was written."),
              std::string::npos)
        << ReadAll(lab->ConsoleLogFile());
  }
}
