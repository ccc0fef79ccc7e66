// The lab's starts up to the program: what fails CreateProcessW itself, and what cmd tells on its
// console when its command can't run. Nothing here reaches a real program, so it runs everywhere.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "common/status.h"
#include "common/text_encoding.h"
#include "platform/lab/lab.h"
#include "platform/lab/lab_files.h"
#include "platform/lab/lab_processes.h"
#include "support/temp_lab.h"

namespace {

constexpr wchar_t kToolkit[] = L"D:\\Zandor\\HA\\ToolkitInstaller2.0";

void AppendToLabConf(const TempLab& temp, const std::string& lines) {
  std::ofstream conf(temp.Folder() / "lab.conf", std::ios::app);
  conf << lines;
}

std::string ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(LabProcesses, FailedStartsReturnTheCodeOfCreateProcessAndLeaveNoProcess) {
  struct Case {
    const char* what;
    const char* labConf;  // added to lab.conf
    const wchar_t* commandLine;
    const wchar_t* currentDirectory;
    Status expected;
  };
  const Case cases[] = {
      {"the lab is told to fail starts", "start-error = 1455\n", L"cmd /c prog", kToolkit, 1455},
      {"a current directory that isn't there", "", L"cmd /c prog", L"D:\\Zandor\\HA\\Elsewhere", status::Directory},
      {"a current directory that is a file", "", L"cmd /c prog", L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\values.dat",
       status::Directory},
      {"a current directory without a drive", "", L"cmd /c prog", L"Zandor\\HA", status::Directory},
      {"a program other than cmd", "", L"perl.exe install.pl", kToolkit, status::FileNotFound},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempLab temp;
    temp.WriteDriveFile(L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\values.dat", "x\r\n");
    AppendToLabConf(temp, c.labConf);
    std::string error;
    auto lab = temp.Load(&error);
    ASSERT_NE(lab, nullptr) << error;
    std::unique_ptr<StartedProcess> process;
    EXPECT_EQ(lab->Processes().Start(c.commandLine, c.currentDirectory, &process), c.expected);
    EXPECT_EQ(process, nullptr);
    EXPECT_EQ(lab->Processes().StartedCount(), 0);
    EXPECT_EQ(lab->Processes().LastCommandLine(), c.commandLine);
    EXPECT_FALSE(std::filesystem::exists(lab->ConsoleLogFile())) << "cmd never ran to say anything";
  }
}

TEST(LabProcesses, ACommandThatCannotRunStillStartsCmdWhichTellsWhyAndEnds) {
  struct Case {
    const char* what;
    const wchar_t* commandLine;
    const char* console;
    int exitCode;
  };
  const Case cases[] = {
      {"no such program", L"cmd /c nothere.exe x",
       "'nothere.exe' is not recognized as an internal or external command,\r\noperable program or batch file.\r\n",
       9009},
      {"a file of the lab's folders, which the lab never runs", L"cmd /c install.pl",
       "'install.pl' is not recognized as an internal or external command,\r\noperable program or batch file.\r\n",
       9009},
      // cmd opens the input before it looks for the program.
      {"no input file", L"cmd /c nothere.exe < missing.dat", "The system cannot find the file specified.\r\n", 1},
      {"no input folder", L"cmd /c nothere.exe < D:\\Nowhere\\values.dat",
       "The system cannot find the path specified.\r\n", 1},
      {"an input file that refuses access", L"cmd /c nothere.exe < D:\\Locked\\values.dat", "Access is denied.\r\n", 1},
      {"an operator beyond the lab", L"cmd /c nothere.exe > out.txt",
       "The lab runs one program, its input at most taken from a file: \">\" is beyond it.\r\n", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempLab temp;
    temp.WriteDriveFile(L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\install.pl", "#!/bin/sh\n");
    temp.WriteDriveFile(L"D:\\Locked\\values.dat", "x\r\n");
    AppendToLabConf(temp, "deny-file = D:\\Locked\\values.dat\n");
    std::string error;
    auto lab = temp.Load(&error);
    ASSERT_NE(lab, nullptr) << error;
    LabProcesses& processes = lab->Processes();
    std::unique_ptr<StartedProcess> process;
    ASSERT_EQ(processes.Start(c.commandLine, kToolkit, &process), status::Success);
    ASSERT_NE(process, nullptr);
    EXPECT_TRUE(process->WaitForEnd(0)) << "cmd has already ended";
    EXPECT_EQ(processes.LastExitCode(), c.exitCode);
    EXPECT_EQ(processes.StartedCount(), 1);
    EXPECT_EQ(ReadAll(lab->ConsoleLogFile()), c.console);
  }
}

TEST(LabProcesses, LabConfValuesOfProcessKeysAreChecked) {
  for (const char* line : {"start-error = two", "start-error =", "process-delay-ms = -5", "process-delay-ms = 1.5",
                           "process-delay-ms = 4294967296", "installer-exit-code = x", "installer-definition = 0",
                           "installer-hang = maybe"}) {
    SCOPED_TRACE(line);
    TempLab temp;
    AppendToLabConf(temp, std::string(line) + "\n");
    std::string error;
    EXPECT_EQ(temp.Load(&error), nullptr);
    const std::string key = std::string(line).substr(0, std::string(line).find(' '));
    EXPECT_NE(error.find("lab.conf:3: " + key + " takes "), std::string::npos) << error;
  }
  TempLab temp;
  AppendToLabConf(temp,
                  "process-delay-ms = 4294967295\nstart-error = 0\ninstaller-exit-code = 4294967295\n"
                  "installer-definition = yes\ninstaller-hang = no\n");
  std::string error;
  EXPECT_NE(temp.Load(&error), nullptr) << error;
}
