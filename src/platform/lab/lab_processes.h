// The lab's processes: a command line started as cmd.exe would start it, the installer played by the lab.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/lab/lab_installer.h"
#include "platform/processes.h"

class LabFileSystem;
class LabClock;

// Starts "cmd /c ..." command lines the way cmd.exe reads them (quotes, "<" redirection), with the
// lab's drive paths mapped to its folders. The one program the lab knows is the clustering
// product's installer (ftPerl with install.pl), which it plays itself: nothing in a lab's folders
// is ever run. What the console would show goes to a log file.
class LabProcesses : public Processes {
 public:
  // `clock` is the lab's time, told by the lab's machine: waits for slow processes move it on.
  LabProcesses(LabFileSystem& files, std::filesystem::path consoleLog, std::shared_ptr<LabClock> clock);
  ~LabProcesses() override;
  LabProcesses(const LabProcesses&) = delete;
  LabProcesses& operator=(const LabProcesses&) = delete;

  Status Start(const std::wstring& commandLine, const std::wstring& currentDirectory,
               std::unique_ptr<StartedProcess>* process) override;

  // Every start from now on fails with `code`, as when the command interpreter can't be found;
  // 0 lets starts succeed again.
  void SetStartError(Status code) { startError_ = code; }
  // Every process started from now on takes `milliseconds` longer to end, in the lab's time: a
  // wait for it moves the lab's clock forward instead of sleeping, so no test waits for real.
  void SetExtraRunTime(std::uint32_t milliseconds) { extraRunTime_ = milliseconds; }
  // How the installer misbehaves from now on.
  void SetInstallerFaults(const LabInstallerFaults& faults) { installerFaults_ = faults; }
  const LabInstallerFaults& InstallerFaults() const { return installerFaults_; }
  // Starts that succeeded so far.
  int StartedCount() const { return startedCount_; }
  // The command line of the last start, whether it succeeded or not.
  const std::wstring& LastCommandLine() const { return lastCommandLine_; }
  // The exit code of the process started last; none while nothing started or when it never ends.
  std::optional<int> LastExitCode() const { return lastExitCode_; }

 private:
  // The process of a start that got as far as cmd: it printed `console`, and ends with `exitCode`
  // (never, when it hangs) once its run time has passed on the lab's clock.
  Status Started(const std::string& console, std::optional<int> exitCode, std::unique_ptr<StartedProcess>* process);
  // The installer's run: reads its input, writes its definition file in `currentDirectory`.
  Status StartInstaller(const CmdCommand& command, const std::wstring& currentDirectory,
                        std::unique_ptr<StartedProcess>* process);

  LabFileSystem& files_;
  std::filesystem::path consoleLog_;
  Status startError_ = 0;
  std::uint32_t extraRunTime_ = 0;
  LabInstallerFaults installerFaults_;
  int startedCount_ = 0;
  std::wstring lastCommandLine_;
  std::optional<int> lastExitCode_;
  std::shared_ptr<LabClock> clock_;
};
