// Running a program the lab has found as a real process of this machine: the one part of the lab
// that differs between systems (lab_spawn_posix.cpp, lab_spawn_win32.cpp).
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/status.h"

struct LabProgramRun {
  std::filesystem::path program;       // the file to run
  std::vector<std::string> arguments;  // UTF-8, after the program's own name
  std::filesystem::path workingFolder;
  std::filesystem::path standardInput;  // empty: nothing to read
  std::filesystem::path consoleLog;     // standard output and error are appended to it
};

// A program that was started. Letting go of it before WaitForExit waits for its end, so that no
// ended process is ever left behind uncollected.
class LabRunningProgram {
 public:
  virtual ~LabRunningProgram() = default;
  // Blocks until the program has ended and its end is collected; its exit code.
  virtual int WaitForExit() = 0;
};

// Starts the program, or returns the Win32 code of why it could not be (2: the file is gone;
// 5: it may not be run or a file can't be opened; 50: this system runs no lab programs).
[[nodiscard]] Status StartLabProgram(const LabProgramRun& run, std::unique_ptr<LabRunningProgram>* running);
