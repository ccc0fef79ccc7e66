// The lab's processes: a command line started as cmd.exe would start it, then run on this machine.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/processes.h"

class LabFileSystem;
class LabClock;
struct LabProcessEnd;

// Starts "cmd /c ..." command lines the way cmd.exe reads them (quotes, "<" redirection, PATHEXT),
// with the lab's drive paths mapped to its folders, and runs the named program as a real process
// here: the lab's ftPerl runs the system's Perl. What the console would show goes to a log file.
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
  // Starts that succeeded so far.
  int StartedCount() const { return startedCount_; }
  // The command line of the last start, whether it succeeded or not.
  const std::wstring& LastCommandLine() const { return lastCommandLine_; }
  // The exit code of the process started last, once it has ended.
  std::optional<int> LastExitCode() const;
  // Waits up to `milliseconds` of real time for every process started so far to end and be
  // collected, including those whose StartedProcess was let go: true when none is left.
  bool WaitForEveryEnd(std::uint32_t milliseconds) const;

 private:
  // The host file cmd would run for the command's first word, or empty when it finds none.
  std::filesystem::path FindProgram(const std::wstring& word, const std::wstring& currentDirectory) const;
  // A start that got as far as cmd and no further: cmd wrote `message` to its console and ended.
  Status EndedAtOnce(const std::string& message, int exitCode, std::unique_ptr<StartedProcess>* process);
  std::shared_ptr<LabProcessEnd> NewProcessEnd();

  LabFileSystem& files_;
  std::filesystem::path consoleLog_;
  Status startError_ = 0;
  std::uint32_t extraRunTime_ = 0;
  int startedCount_ = 0;
  std::wstring lastCommandLine_;
  std::shared_ptr<LabClock> clock_;                   // shared with the processes, which may outlive this
  std::vector<std::shared_ptr<LabProcessEnd>> ends_;  // one per process started
};
