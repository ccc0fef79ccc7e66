// The Windows programs' run: the backend (a named lab or Windows itself) and the install log, made once and handed to
// the window or to the command line.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_context.h"
#include "log/setuplogkit_log.h"
#include "platform/platform.h"
#include "platform/win32/win32_platform.h"
#include "setuplogkit/setuplogkit_loader.h"

class Lab;

// The words after the program's name on its command line, as the C runtime splits them.
std::vector<std::wstring> CommandLineWords();

// The backend is the lab DUPLEX_SETUP_LAB names, when it names one, else Windows itself; a lab run keeps its
// install log inside the lab.
class Win32Edition {
 public:
  Win32Edition();
  ~Win32Edition();
  Win32Edition(const Win32Edition&) = delete;
  Win32Edition& operator=(const Win32Edition&) = delete;

  // Null when the named lab cannot be used; LabFolder() and LabError() then say which and why.
  Platform* platform() { return platform_ ? &*platform_ : nullptr; }
  const std::wstring& LabFolder() const { return labFolder_; }
  const std::wstring& LabError() const { return labError_; }
  InstallLog& log() { return log_; }

  // Runs the command `words` name on `platform` (the edition's own by default), writing to the standard output and
  // error the program has; returns the exit code.
  int RunCommandLine(const std::vector<std::wstring>& words);
  int RunCommandLine(const std::vector<std::wstring>& words, Platform& platform);

 private:
  // `context` names the platform (or why there is none); the rest is the edition's.
  int RunCommandLine(const std::vector<std::wstring>& words, CliContext& context);

  Win32Backend system_;
  std::wstring labFolder_;
  std::wstring labError_;
  std::unique_ptr<Lab> lab_;
  std::optional<Platform> platform_;
  SetupLogKitLibrary library_;
  SetupLogKitLog log_;
};
