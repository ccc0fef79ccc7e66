// The Windows programs run with a command: the backend chosen as the window's is, the log, the console.
#include "wizard/win32/win32_command_line.h"

#include <windows.h>
#include <shellapi.h>

#include <iostream>
#include <memory>

#include "app/setuplogkit_log.h"
#include "cli/run_command_line.h"
#include "common/text_encoding.h"
#include "platform/lab/lab.h"
#include "platform/win32/win32_platform.h"
#include "setuplogkit/setuplogkit_loader.h"
#include "wizard/win32/win32_console.h"

namespace {
std::wstring EnvironmentVariable(const wchar_t* name) {
  const DWORD needed = GetEnvironmentVariableW(name, nullptr, 0);
  if (needed == 0) return {};
  std::wstring value(needed, L'\0');
  const DWORD length = GetEnvironmentVariableW(name, value.data(), needed);
  value.resize(length < needed ? length : 0);
  return value;
}
}  // namespace

std::vector<std::wstring> CommandLineWords() {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> words;
  if (arguments == nullptr) return words;
  for (int i = 1; i < count; ++i) words.emplace_back(arguments[i]);
  LocalFree(arguments);
  return words;
}

int RunWin32CommandLine(const std::vector<std::wstring>& words) {
  Win32Console console;
  Win32Backend system;
  std::unique_ptr<Lab> lab;
  std::string logFileOverride;
  CliContext context;
  // Answers FILE and report FOLDER are files of this computer, in a lab run too.
  context.hostFiles = &system.files;
  if (const std::wstring labFolder = EnvironmentVariable(L"DUPLEX_SETUP_LAB"); !labFolder.empty()) {
    std::string error;
    lab = Lab::Load(labFolder, &error);
    if (lab != nullptr) {
      logFileOverride = Utf8FromWide(lab->InstallLogFile().wstring());
    } else {
      context.platformProblem = L"The lab " + labFolder + L" cannot be used: " + WideFromUtf8(error);
    }
  }
  Platform platform = lab != nullptr ? lab->MakePlatform() : system.MakePlatform();
  if (context.platformProblem.empty()) context.platform = &platform;
  SetupLogKitLibrary library(logFileOverride);
  SetupLogKitLog log(library.WriteFunction(), library.Problem(), DefaultFallbackLogFile(), std::cerr);
  context.log = &log;
  context.console = &console;
  return RunCommandLine(words, context);
}
