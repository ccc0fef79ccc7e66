// Win32Processes under Wine: starts that fail, both installer command lines through Wine's own cmd.exe (never a
// planted one), the wait, and the machine's clock it is measured by.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "installer_fixtures.h"
#include "planted/planted_marker.h"
#include "platform/executable_path.h"
#include "platform/win32/machine_win32.h"
#include "platform/win32/processes_win32.h"
#include "system_fixtures.h"
#include "wine_fixtures.h"

namespace {
// Long enough for cmd.exe and the stand-in to start under a busy Wine; a finished process answers at once.
constexpr std::uint32_t kEndsWithinMs = 60000;

// The Perl input file's shape as the stand-in checks it: `count` lines, the two node names first.
std::string ValuesFile(int count) {
  std::vector<std::string> lines = {"node-a", "node-b"};
  while (static_cast<int>(lines.size()) < count - 1) lines.push_back(std::to_string(lines.size() + 1));
  lines.push_back("C");
  return CrLfText(lines);
}

// A started process that stands for none: shows whether a failed start empties the caller's holder.
class NoProcess : public StartedProcess {
 public:
  bool WaitForEnd(std::uint32_t) override { return true; }
};

class Win32ProcessesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(drives_.Problem(), "");
    ASSERT_EQ(LayOutInstallation(L"ha1"), "");
  }

  TestDrives drives_;
  Win32Processes processes_;
  Win32Machine machine_;
};

// A copy of `source` at `target` for the fixture's lifetime: a file someone left where it does not belong.
class PlantedFile {
 public:
  PlantedFile(const std::wstring& source, std::wstring target) : target_(std::move(target)) {
    copied_ = CopyFileW(source.c_str(), target_.c_str(), TRUE) != FALSE;
  }
  ~PlantedFile() {
    if (copied_) DeleteFileW(target_.c_str());
  }
  PlantedFile(const PlantedFile&) = delete;
  PlantedFile& operator=(const PlantedFile&) = delete;
  bool Copied() const { return copied_; }

 private:
  std::wstring target_;
  bool copied_ = false;
};

// This process's current directory, moved to `folder` for the fixture's lifetime.
class ScopedCurrentDirectory {
 public:
  explicit ScopedCurrentDirectory(const std::wstring& folder) {
    wchar_t earlier[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, earlier);
    earlier_ = earlier;
    moved_ = SetCurrentDirectoryW(folder.c_str()) != FALSE;
  }
  ~ScopedCurrentDirectory() { SetCurrentDirectoryW(earlier_.c_str()); }
  ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
  ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;
  bool Moved() const { return moved_; }

 private:
  std::wstring earlier_;
  bool moved_ = false;
};
}  // namespace

TEST_F(Win32ProcessesTest, FailedStart_ReturnsTheCodeAndLeavesNoProcess) {
  // A program named without its full path is never searched for, not even in the current directory.
  TempFolder currentFolder;
  const PlantedFile planted(OnDriveZ(DUPLEX_PLANTED_CMD_PATH), currentFolder.File(L"tool.exe"));
  ASSERT_TRUE(planted.Copied()) << "error " << GetLastError();
  const ScopedCurrentDirectory inCurrentFolder(currentFolder.Path());
  ASSERT_TRUE(inCurrentFolder.Moved());
  struct Case {
    const char* what;
    std::wstring commandLine;
    std::wstring currentDirectory;
    Status expected;
  };
  // Wine gives the codes Windows gives: 267 for a working directory that is not there, 2 for no program.
  const Case cases[] = {
      {"working directory missing", L"cmd /c exit 0", std::wstring(kTestToolkitFolder) + L"\\missing", 267},
      {"working directory is a file", L"cmd /c exit 0", std::wstring(kTestToolkitFolder) + L"\\install.pl", 267},
      {"no such program", L"no-such-installer.exe install.pl", kTestToolkitFolder, 2},
      {"a program without its full path", L"tool.exe install.pl", kTestToolkitFolder, 2},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.what);
    std::unique_ptr<StartedProcess> process = std::make_unique<NoProcess>();
    EXPECT_EQ(processes_.Start(row.commandLine, row.currentDirectory, &process), row.expected);
    EXPECT_EQ(process, nullptr);
  }
}

TEST_F(Win32ProcessesTest, InstallerCommandLines_RunThroughCmdWithTheValuesFileAsInput) {
  struct Case {
    const char* what;
    const wchar_t* commandLine;
    int valueLines;
    const wchar_t* definition;
    std::string expected;  // empty: the installer refuses and writes nothing
  };
  const Case cases[] = {
      {"one board, 29 values", kSingleBoardCommand, 29, kSingleBoardDefinition,
       "definition=Vestamail-Mirroring-Single\r\ndomain=ha1\r\ninstall directory=D:\\Program Files\\EMC AutoStart\r\n"
       "values=29 lines\r\nnode 1=node-a\r\nnode 2=node-b\r\n"},
      {"three boards, seven quotes, 31 values", kThreeBoardCommand, 31, kThreeBoardDefinition,
       "definition=Vestamail-Mirroring\r\ndomain=ha1\r\ninstall directory=D:\\Program Files\\EMC AutoStart\r\n"
       "values=31 lines\r\nnode 1=node-a\r\nnode 2=node-b\r\n"},
      // The definition depends on what reached the installer's standard input.
      {"one board, a values file of the wrong length", kSingleBoardCommand, 30, kSingleBoardDefinition, ""},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.what);
    DeleteFileW(row.definition);
    WriteFileBytes(kTestValuesFile, ValuesFile(row.valueLines));
    const std::uint64_t before = machine_.NowMilliseconds();

    std::unique_ptr<StartedProcess> installer;
    ASSERT_EQ(processes_.Start(row.commandLine, kTestToolkitFolder, &installer), 0u);
    ASSERT_NE(installer, nullptr);
    EXPECT_TRUE(installer->WaitForEnd(kEndsWithinMs));
    // An ended process stays ended for every later wait.
    EXPECT_TRUE(installer->WaitForEnd(0));
    EXPECT_GE(machine_.NowMilliseconds(), before);

    if (row.expected.empty()) {
      EXPECT_FALSE(FileExists(row.definition));
    } else {
      EXPECT_EQ(ReadFileBytes(row.definition), row.expected);
    }
  }
}

TEST_F(Win32ProcessesTest, WaitForEnd_FalseWhileTheInstallerRunsTrueOnceItEnded) {
  WriteFileBytes(kTestValuesFile, ValuesFile(29));
  const InstallerHold hold;
  ASSERT_TRUE(hold.IsValid());
  std::unique_ptr<StartedProcess> installer;
  ASSERT_EQ(processes_.Start(kSingleBoardCommand, kTestToolkitFolder, &installer), 0u);
  ASSERT_NE(installer, nullptr);

  const std::uint64_t beforeWait = machine_.NowMilliseconds();
  EXPECT_FALSE(installer->WaitForEnd(200));
  const std::uint64_t afterWait = machine_.NowMilliseconds();
  // The wait lasted its time, by the clock the wizard measures its waits with (its ticks may be coarse).
  EXPECT_GE(afterWait - beforeWait, 200u - 20u);
  EXPECT_FALSE(FileExists(kSingleBoardDefinition));

  hold.Release();
  EXPECT_TRUE(installer->WaitForEnd(kEndsWithinMs));
  EXPECT_GE(machine_.NowMilliseconds(), afterWait);
  EXPECT_TRUE(FileExists(kSingleBoardDefinition));
}

TEST_F(Win32ProcessesTest, Start_AsksForAMinimisedWindowAtTheOrigin) {
  // Started without cmd, so that the start-up information the stand-in reports is the one Start passed;
  // named without its script, it only reports and ends. Whether a console window then shows minimised
  // cannot be seen under Wine: the tests run without a console window to show.
  const std::wstring record = std::wstring(kTestToolkitFolder) + L"\\startup.txt";
  const ScopedEnvironmentVariable recordTo(L"DUPLEX_TEST_STARTUP_RECORD", record);
  std::unique_ptr<StartedProcess> installer;
  ASSERT_EQ(
      processes_.Start(L"\"D:\\Program Files\\EMC AutoStart\\ha1\\bin\\ftPerl.exe\"", kTestToolkitFolder, &installer),
      0u);
  ASSERT_NE(installer, nullptr);
  EXPECT_TRUE(installer->WaitForEnd(kEndsWithinMs));

  // STARTF_USESHOWWINDOW | STARTF_USEPOSITION, SW_SHOWMINIMIZED.
  EXPECT_EQ(ReadFileBytes(record), "flags=5 show=2 x=0 y=0\r\n");
}

TEST_F(Win32ProcessesTest, Start_RunsTheSystemsCmdNeverOnePlantedWhereASearchLooksFirst) {
  // A search for "cmd" looks in the program's own folder and in the current directory before the
  // system's folder; a cmd.exe left in either must never run in place of the system's.
  TempFolder currentFolder;
  TempFolder markerFolder;
  const std::wstring marker = markerFolder.File(L"planted.txt");
  const ScopedEnvironmentVariable markTo(kPlantedMarkerVariable, marker);
  const ScopedCurrentDirectory inCurrentFolder(currentFolder.Path());
  ASSERT_TRUE(inCurrentFolder.Moved());
  struct Case {
    const char* what;
    std::wstring folder;
  };
  const Case cases[] = {
      {"beside the program", ExecutableFolder().wstring()},
      {"in the current directory", currentFolder.Path()},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.what);
    DeleteFileW(marker.c_str());
    DeleteFileW(kSingleBoardDefinition);
    WriteFileBytes(kTestValuesFile, ValuesFile(29));
    const PlantedFile planted(OnDriveZ(DUPLEX_PLANTED_CMD_PATH), row.folder + L"\\cmd.exe");
    ASSERT_TRUE(planted.Copied()) << "error " << GetLastError();

    std::unique_ptr<StartedProcess> installer;
    ASSERT_EQ(processes_.Start(kSingleBoardCommand, kTestToolkitFolder, &installer), 0u);
    ASSERT_NE(installer, nullptr);
    EXPECT_TRUE(installer->WaitForEnd(kEndsWithinMs));
    EXPECT_FALSE(FileExists(marker)) << ReadFileBytes(marker);
    EXPECT_TRUE(FileExists(kSingleBoardDefinition)) << "the system's cmd.exe ran the installer";
  }
}
