// The install log as the program ships it: every line through KOVA_WriteToInstallLogFile.
#include "log/setuplogkit_log.h"

#include <fstream>
#include <ostream>
#include <system_error>

#include "common/text_encoding.h"

namespace {
constexpr wchar_t kSource[] = L"DuplexSetup";
constexpr int kInstallLogTarget = 2;
}  // namespace

SetupLogKitLog::SetupLogKitLog(KovaWriteToInstallLogFileFn write, std::string loadProblem,
                               std::filesystem::path fallbackFile, std::ostream& diagnostics)
    : write_(write),
      loadProblem_(std::move(loadProblem)),
      fallbackFile_(std::move(fallbackFile)),
      diagnostics_(diagnostics) {}

void SetupLogKitLog::Write(const std::wstring& message, LogClass messageClass) {
  if (write_ != nullptr) {
    write_(kSource, message.c_str(), static_cast<int>(messageClass), kInstallLogTarget);
    return;
  }
  WriteFallback(message, messageClass);
}

void SetupLogKitLog::WriteFallback(const std::wstring& message, LogClass messageClass) {
  const std::string tag = messageClass == LogClass::LogError     ? "ERROR "
                          : messageClass == LogClass::LogWarning ? "WARN  "
                                                                 : "INFO  ";
  std::ofstream file(fallbackFile_, std::ios::binary | std::ios::app);
  if (!announced_) {
    announced_ = true;
    const std::string notice =
        "DuplexSetupAssistant: " + loadProblem_ + "; install log lines are kept in " + fallbackFile_.string() + "\n";
    diagnostics_ << notice << std::flush;
    if (file) file << notice << std::flush;
  }
  // One write per line, like the library, so that the file never holds half a line.
  const std::string line = "DuplexSetup " + tag + Utf8FromWide(message) + "\n";
  if (file) {
    file.write(line.data(), static_cast<std::streamsize>(line.size()));
    file.flush();
  }
  if (!file) diagnostics_ << line << std::flush;
}

std::filesystem::path DefaultFallbackLogFile() {
  std::error_code error;
  std::filesystem::path folder = std::filesystem::temp_directory_path(error);
  if (error) folder = ".";
  return folder / "DuplexSetupAssistant-fallback.log";
}
