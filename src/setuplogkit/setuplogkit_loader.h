// Loads SetupLogKit by name at run time, as the program has always imported it.
#pragma once

#include <string>

#include "setuplogkit/setuplogkit.h"

// Keeps the library loaded for as long as it lives.
class SetupLogKitLibrary {
 public:
  // `logFileOverride`, when not empty, names the log file for this process (lab runs log inside the lab).
  explicit SetupLogKitLibrary(const std::string& logFileOverride);
  SetupLogKitLibrary(const SetupLogKitLibrary&) = delete;
  SetupLogKitLibrary& operator=(const SetupLogKitLibrary&) = delete;
  ~SetupLogKitLibrary();

  // Null when the library or its function could not be found; `Problem()` then says why.
  KovaWriteToInstallLogFileFn WriteFunction() const { return write_; }
  const std::string& Problem() const { return problem_; }

 private:
  void* module_ = nullptr;
  KovaWriteToInstallLogFileFn write_ = nullptr;
  std::string problem_;
};
