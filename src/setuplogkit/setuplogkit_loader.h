// Loads SetupLogKit at run time from the program's own folder, as the program has always imported it.
#pragma once

#include <string>

#include "common/unique_handle.h"
#include "setuplogkit/setuplogkit.h"

// A loaded library (HMODULE, or the handle dlopen gives); closed with FreeLibrary or dlclose.
struct LoadedLibraryTraits {
  using Handle = void*;
  static Handle Null() { return nullptr; }
  static bool IsValid(Handle library) { return library != nullptr; }
  Status Close(Handle library) const;
};

// Keeps the library loaded for as long as it lives.
class SetupLogKitLibrary {
 public:
  // `logFileOverride`, when not empty, names the log file for this process (lab runs log inside the lab).
  explicit SetupLogKitLibrary(const std::string& logFileOverride);
  SetupLogKitLibrary(const SetupLogKitLibrary&) = delete;
  SetupLogKitLibrary& operator=(const SetupLogKitLibrary&) = delete;

  // Null when the library or its function could not be found; `Problem()` then says why.
  KovaWriteToInstallLogFileFn WriteFunction() const { return write_; }
  const std::string& Problem() const { return problem_; }

 private:
  UniqueHandle<LoadedLibraryTraits> module_;
  KovaWriteToInstallLogFileFn write_ = nullptr;
  std::string problem_;
};
