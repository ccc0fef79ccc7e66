// The install log as the program ships it: every line through KOVA_WriteToInstallLogFile.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>

#include "log/install_log.h"
#include "setuplogkit/setuplogkit.h"

// Hands each line to SetupLogKit with the source tag "DuplexSetup" and target 2. When the
// library could not be loaded, says so once (standard error and the fallback file) and
// appends every line to the fallback file instead, so that nothing is lost.
class SetupLogKitLog : public InstallLog {
 public:
  SetupLogKitLog(KovaWriteToInstallLogFileFn write, std::string loadProblem, std::filesystem::path fallbackFile,
                 std::ostream& diagnostics);

  void Write(const std::wstring& message, LogClass messageClass) override;

 private:
  void WriteFallback(const std::wstring& message, LogClass messageClass);

  KovaWriteToInstallLogFileFn write_;
  std::string loadProblem_;
  std::filesystem::path fallbackFile_;
  std::ostream& diagnostics_;
  bool announced_ = false;
};

// Where lines go when SetupLogKit is missing: DuplexSetupAssistant-fallback.log in the temporary folder.
std::filesystem::path DefaultFallbackLogFile();
