// Starting the clustering product's installer through the command interpreter, and waiting for it.
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

  // CreateProcessW with `commandLine` as it is in a writable buffer, no inherited handles, this
  // program's environment, `currentDirectory` as the working directory, and the console window
  // shown minimised. The program is never searched for: a search would look in the program's own
  // folder and the current directory first, where anyone can leave a file of the same name. So a
  // line whose first word is `cmd` or `cmd.exe` (the installer's "cmd /c ...") runs the system's
  // own interpreter, whose full path (GetSystemDirectoryW + "\cmd.exe") is the application name;
  // any other first word must be a full path (a drive and a backslash, or \\server), or nothing
  // starts and 2 (ERROR_FILE_NOT_FOUND) is returned. On success `process` holds the new process;
  // on failure the call's code is returned and `process` is left empty.
  [[nodiscard]] virtual Status Start(const std::wstring& commandLine, const std::wstring& currentDirectory,
                                     std::unique_ptr<StartedProcess>* process) = 0;
};
