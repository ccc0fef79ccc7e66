// The lab's processes: a command line started as cmd.exe would start it, then run on this machine.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/processes.h"

class LabFileSystem;

// Starts "cmd /c ..." command lines the way cmd.exe reads them (quotes, "<" redirection, PATHEXT),
// with the lab's drive paths mapped to its folders, and runs the named program as a real process
// here: the lab's ftPerl runs the system's Perl. What the console would show goes to a log file.
class LabProcesses : public Processes {
 public:
  LabProcesses(LabFileSystem& files, std::filesystem::path consoleLog);
  ~LabProcesses() override;
  LabProcesses(const LabProcesses&) = delete;
  LabProcesses& operator=(const LabProcesses&) = delete;

  Status Start(const std::wstring& commandLine, const std::wstring& currentDirectory,
               std::unique_ptr<StartedProcess>* process) override;
  std::uint64_t NowMilliseconds() override;

  // Every start from now on fails with `code`, as when the command interpreter can't be found;
  // 0 lets starts succeed again.
  void SetStartError(Status code) { startError_ = code; }
  // Every process started from now on takes `milliseconds` longer to end, in the lab's time: a
  // wait for it moves the lab's clock forward instead of sleeping, so no test waits for real.
  void SetExtraRunTime(std::uint32_t milliseconds) { extraRunTime_ = milliseconds; }
  // Starts that succeeded so far.
  int StartedCount() const { return startedCount_; }

 private:
  LabFileSystem& files_;
  std::filesystem::path consoleLog_;
  Status startError_ = 0;
  std::uint32_t extraRunTime_ = 0;
  int startedCount_ = 0;
  std::uint64_t clockAdvance_ = 0;  // what waits for a slow process moved the lab's clock forward
};
