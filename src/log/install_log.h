// The channel every log line of the program goes through on its way to the installation log.
#pragma once

#include <cstdint>
#include <string>

enum class LogClass : std::int32_t { LogError = 0, LogWarning = 1, LogInfo = 2 };

// One formatted message per call, handed on at once; nothing is buffered or filtered here.
class InstallLog {
 public:
  virtual ~InstallLog() = default;
  virtual void Write(const std::wstring& message, LogClass messageClass) = 0;

  void Error(const std::wstring& message) { Write(message, LogClass::LogError); }
  void Warning(const std::wstring& message) { Write(message, LogClass::LogWarning); }
  void Info(const std::wstring& message) { Write(message, LogClass::LogInfo); }
};
