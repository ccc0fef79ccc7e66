// Starting the clustering product's installer, waiting for it, and the clock the wait is measured by.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "common/status.h"

// A process the program started. Letting go of it releases the program's hold on the process;
// the process itself goes on to its end.
class StartedProcess {
 public:
  virtual ~StartedProcess() = default;

  // Waits at most `milliseconds` for the process to end: true once it has ended.
  virtual bool WaitForEnd(std::uint32_t milliseconds) = 0;
};

class Processes {
 public:
  virtual ~Processes() = default;

  // CreateProcessW with no application name, `commandLine` in a writable buffer, no inherited
  // handles, this program's environment, `currentDirectory` as the working directory, and the
  // console window shown minimised. On success `process` holds the new process; on failure the
  // call's code is returned and `process` is left empty.
  virtual Status Start(const std::wstring& commandLine, const std::wstring& currentDirectory,
                       std::unique_ptr<StartedProcess>* process) = 0;

  // Milliseconds from some fixed moment (GetTickCount64): what a wait for a started process is
  // measured by.
  virtual std::uint64_t NowMilliseconds() = 0;
};
