// The product's installer as the lab plays it: install.pl's definition file from the Perl input,
// its faults from lab.conf, and no program of a lab's folders ever run.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/status.h"
#include "platform/lab/lab.h"
#include "platform/lab/lab_folder.h"
#include "platform/lab/lab_machine.h"
#include "platform/lab/lab_processes.h"
#include "support/capture_scratch.h"
#include "support/temp_lab.h"

namespace fs = std::filesystem;

namespace {

constexpr wchar_t kToolkit[] = L"D:\\Zandor\\HA\\ToolkitInstaller2.0";
constexpr std::uint32_t kInfinite = 0xFFFFFFFF;
constexpr wchar_t kSingleBoard[] =
    L"cmd /c \"\"D:\\Program Files\\EMC AutoStart\\ha1\\bin\\ftPerl\" install.pl Vestamail-Mirroring-Single ha1 "
    L"\"D:\\Program Files\\EMC AutoStart\" < \"D:\\Zandor\\HA\\ToolkitInstaller2.0\\values.dat\" \"";
constexpr wchar_t kThreeBoards[] =
    L"cmd /c \"\"D:\\Program Files\\EMC AutoStart\\ha1\\bin\\ftPerl\" install.pl Vestamail-Mirroring ha1 "
    L"\"D:\\Program Files\\EMC AutoStart\" < \"D:\\Zandor\\HA\\ToolkitInstaller2.0\\values.dat\" ";
constexpr char kSingleDefinition[] = "Vestamail-Mirroring-Single.def";
constexpr char kSingleWritten[] = "install.pl: Vestamail-Mirroring-Single.def written for the domain ha1.\r\n";

// What install.pl writes for the demo pair with one board.
constexpr char kDemoDefinition[] =
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

// The 29 lines Step 3 writes for the demo pair, one board, CLAN test address 127.0.0.1; with
// `testAddress` another address, the 31 lines of that form; `dropped` lines fewer at the end.
std::string DemoValues(const std::string& testAddress = "127.0.0.1", std::size_t dropped = 0) {
  // A line each between the bars: the nodes, the ELAN, the CLAN (its test address as @), HB1, HB2, MIRROR, the user.
  const std::string form =
      "node-a|node-b|10.2.2.0|255.255.255.0|10.2.2.11|10.2.2.12|10.2.2.250|10.2.2.11|10.2.2.12||10.2.2.5|10.2.2.250|"
      "10.1.1.0|255.255.255.0|10.1.1.11|10.1.1.12|@||10.1.1.5|10.1.1.1|192.168.101.11|192.168.101.12|"
      "192.168.102.11|192.168.102.12|192.168.103.11|192.168.103.12|admin|workgroup|C";
  std::vector<std::string> lines(1);
  for (const char c : form) {
    if (c == '|') {
      lines.emplace_back();
    } else {
      lines.back().push_back(c);
    }
  }
  lines[16] = testAddress;
  if (testAddress != "127.0.0.1") lines.insert(lines.begin() + 17, {"10.1.1.11", "10.1.1.12"});
  lines.resize(lines.size() - dropped);
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// A copy of the bundled demo lab, made as the lab edition and the scenario runner make one.
struct DemoCopy {
  DemoCopy() {
    std::string error;
    EXPECT_TRUE(CopyLabFolder(fs::path(DUPLEX_LAB_DIR) / "demo", folder, &error)) << error;
  }
  fs::path Toolkit() const { return folder / "drives/D/Zandor/HA/ToolkitInstaller2.0"; }
  // The copy as loaded with `labConf` added to its lab.conf and `values` as Step 3's values.dat.
  std::unique_ptr<Lab> Load(const std::string& labConf = "", const std::string& values = DemoValues()) const {
    std::ofstream(folder / "lab.conf", std::ios::app) << labConf;
    std::ofstream(Toolkit() / "values.dat", std::ios::binary) << values;
    std::string error;
    std::unique_ptr<Lab> lab = Lab::Load(folder, &error);
    EXPECT_NE(lab, nullptr) << error;
    return lab;
  }

  TempLab scratch;
  fs::path folder = scratch.Folder() / "demo";
};

}  // namespace

TEST(LabInstaller, WritesTheDefinitionAsInstallPlAndMisbehavesAsLabConfSays) {
  std::string threeBoards = kDemoDefinition;
  threeBoards.replace(threeBoards.find("-Single"), 7, "");
  threeBoards.replace(threeBoards.find("test address 127.0.0.1"), 22, "test address 10.1.1.1");
  struct Case {
    const char* what;
    const char* labConf;  // added to the demo's
    const wchar_t* commandLine;
    std::string values;
    std::optional<int> exitCode;  // none: it never ends
    std::string console;
    const char* definitionFile;  // where it is expected (as install.pl writes it for the boards), or null: none
  };
  const Case cases[] = {
      {"one board", "", kSingleBoard, DemoValues(), 0, kSingleWritten, kSingleDefinition},
      {"three boards, 31 lines", "", kThreeBoards, DemoValues("10.1.1.1"), 0,
       "install.pl: Vestamail-Mirroring.def written for the domain ha1.\r\n", "Vestamail-Mirroring.def"},
      {"a line short", "", kSingleBoard, DemoValues("127.0.0.1", 1), 1,
       "install.pl: the values file has 28 lines, not 29 or 31; nothing was written.\r\n", nullptr},
      {"the last line without its line end still counts", "", kSingleBoard,
       DemoValues().substr(0, DemoValues().size() - 2), 0, kSingleWritten, kSingleDefinition},
      {"a word missing", "",
       L"cmd /c \"\"D:\\Program Files\\EMC AutoStart\\ha1\\bin\\ftPerl\" install.pl Vestamail-Mirroring ha1 < "
       L"values.dat\"",
       DemoValues(), 1, "usage: install.pl DEFINITION-NAME DOMAIN INSTALL-DIR < values.dat\r\n", nullptr},
      {"a script the lab does not hold", "",
       L"cmd /c \"\"D:\\Program Files\\EMC AutoStart\\ha1\\bin\\ftPerl.exe\" other.pl < values.dat\"", DemoValues(), 2,
       "Can't open perl script \"other.pl\": No such file or directory\r\n", nullptr},
      {"the Perl of a domain the product is not installed for", "",
       L"cmd /c \"\"D:\\Program Files\\EMC AutoStart\\ha2\\bin\\ftPerl\" install.pl Vestamail-Mirroring-Single ha2 "
       L"x < values.dat\"",
       DemoValues(), 9009,
       "'D:\\Program Files\\EMC AutoStart\\ha2\\bin\\ftPerl' is not recognized as an internal or external "
       "command,\r\noperable program or batch file.\r\n",
       nullptr},
      {"a full disk", "disk-full = D\n", kSingleBoard, DemoValues(), 1,
       "install.pl: cannot write Vestamail-Mirroring-Single.def: No space left on device\r\n", nullptr},
      {"told to end with an error", "installer-exit-code = 3\n", kSingleBoard, DemoValues(), 3, kSingleWritten,
       kSingleDefinition},
      {"told to write no definition", "installer-definition = no\n", kSingleBoard, DemoValues(), 0, "", nullptr},
      {"told to hang", "installer-hang = yes\n", kSingleBoard, DemoValues(), std::nullopt, kSingleWritten,
       kSingleDefinition},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DemoCopy demo;
    const std::unique_ptr<Lab> lab = demo.Load(c.labConf, c.values);
    ASSERT_NE(lab, nullptr);
    LabProcesses& processes = lab->Processes();
    std::unique_ptr<StartedProcess> process;
    ASSERT_EQ(processes.Start(c.commandLine, kToolkit, &process), status::Success);
    EXPECT_EQ(process->WaitForEnd(1000), c.exitCode.has_value());
    EXPECT_EQ(processes.LastExitCode(), c.exitCode);
    EXPECT_EQ(ReadWholeHostFile(lab->ConsoleLogFile()), c.console);
    for (const char* name : {kSingleDefinition, "Vestamail-Mirroring.def"}) {
      const bool expected = c.definitionFile != nullptr && std::string(name) == c.definitionFile;
      EXPECT_EQ(fs::exists(demo.Toolkit() / name), expected) << name;
      if (expected) {
        EXPECT_EQ(ReadWholeHostFile(demo.Toolkit() / name),
                  std::string(name) == kSingleDefinition ? kDemoDefinition : threeBoards);
      }
    }
  }
}

// A lab is data: whatever file sits where the product's Perl or its script would be is never run,
// and a lab that holds a link is refused before anything of it is used.
TEST(LabInstaller, NoProgramOfALabsFoldersEverRuns) {
  DemoCopy demo;
  const fs::path marker = demo.scratch.Folder() / "ran";
  const std::string program = "#!/bin/sh\necho ran > '" + marker.string() + "'\n";
  const fs::path bin = demo.folder / "drives/D/Program Files/EMC AutoStart/ha1/bin";
  fs::create_directories(bin);
  for (const fs::path& planted :
       {bin / "ftPerl.exe", bin / "ftPerl.bat", demo.Toolkit() / "install.pl", demo.Toolkit() / "install.pl.exe"}) {
    std::ofstream(planted, std::ios::binary) << program;
    fs::permissions(planted, fs::perms::owner_all);
  }
  {
    const std::unique_ptr<Lab> lab = demo.Load();
    ASSERT_NE(lab, nullptr);
    std::unique_ptr<StartedProcess> process;
    ASSERT_EQ(lab->Processes().Start(kSingleBoard, kToolkit, &process), status::Success);
    EXPECT_TRUE(process->WaitForEnd(kInfinite));
    EXPECT_EQ(ReadWholeHostFile(demo.Toolkit() / kSingleDefinition), kDemoDefinition) << "the lab's own installer ran";
  }
  EXPECT_FALSE(fs::exists(marker)) << "a file of the lab was run";
}

TEST(LabInstaller, ItsRunTimePassesOnTheLabsClockWithoutWaiting) {
  DemoCopy demo;
  const std::unique_ptr<Lab> lab = demo.Load("process-delay-ms = 600000\n");
  ASSERT_NE(lab, nullptr);
  LabProcesses& processes = lab->Processes();
  LabMachine& machine = lab->MachineInfo();

  // Ten minutes in one-minute waits: each unfinished wait moves the clock a minute on.
  const std::uint64_t before = machine.NowMilliseconds();
  std::unique_ptr<StartedProcess> process;
  ASSERT_EQ(processes.Start(kSingleBoard, kToolkit, &process), status::Success);
  int waits = 0;
  bool ended = false;
  while (!ended && waits < 20) {
    const std::uint64_t start = machine.NowMilliseconds();
    ended = process->WaitForEnd(60000);
    ++waits;
    if (!ended) {
      EXPECT_GE(machine.NowMilliseconds() - start, 60000u) << "wait " << waits;
    }
  }
  EXPECT_TRUE(ended);
  EXPECT_EQ(waits, 10);
  // The last wait stopped the clock at the process's end, not a minute further.
  EXPECT_GE(machine.NowMilliseconds() - before, 600000u);
  EXPECT_LT(machine.NowMilliseconds() - before, 600000u + 30000u);
  EXPECT_TRUE(process->WaitForEnd(0)) << "once ended, ended";

  // A wait without a bound goes straight to the end; a hung installer is never seen to end.
  processes.SetExtraRunTime(3600000);
  const std::uint64_t second = machine.NowMilliseconds();
  ASSERT_EQ(processes.Start(kSingleBoard, kToolkit, &process), status::Success);
  EXPECT_TRUE(process->WaitForEnd(kInfinite));
  EXPECT_GE(machine.NowMilliseconds() - second, 3600000u);
  LabInstallerFaults hang;
  hang.hangs = true;
  processes.SetInstallerFaults(hang);
  ASSERT_EQ(processes.Start(kSingleBoard, kToolkit, &process), status::Success);
  const std::uint64_t third = machine.NowMilliseconds();
  EXPECT_FALSE(process->WaitForEnd(60000));
  EXPECT_GE(machine.NowMilliseconds() - third, 60000u);
  EXPECT_FALSE(process->WaitForEnd(kInfinite));
}
