// The Windows programs' run: the backend (a named lab or Windows itself) and the install log, made once and handed to
// the window or to the command line.
#include "programs/win32/win32_edition.h"

#include <windows.h>
#include <shellapi.h>

#include <iostream>

#include "cli/run_command_line.h"
#include "common/text_encoding.h"
#include "platform/lab/lab.h"
#include "programs/win32/win32_console.h"

namespace {
std::wstring EnvironmentVariable(const wchar_t* name) {
  const DWORD needed = GetEnvironmentVariableW(name, nullptr, 0);
  if (needed == 0) return {};
  std::wstring value(needed, L'\0');
  const DWORD length = GetEnvironmentVariableW(name, value.data(), needed);
  value.resize(length < needed ? length : 0);
  return value;
}

// The lab `folder` names, or null with `error` set; an empty folder names none.
std::unique_ptr<Lab> LoadNamedLab(const std::wstring& folder, std::wstring* error) {
  if (folder.empty()) return nullptr;
  std::string problem;
  std::unique_ptr<Lab> lab = Lab::Load(folder, &problem);
  if (lab == nullptr) *error = WideFromUtf8(problem);
  return lab;
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

Win32Edition::Win32Edition()
    : labFolder_(EnvironmentVariable(L"DUPLEX_SETUP_LAB")),
      lab_(LoadNamedLab(labFolder_, &labError_)),
      // A lab that does not load leaves the log where a run without a lab keeps it.
      library_(lab_ != nullptr ? Utf8FromWide(lab_->InstallLogFile().wstring()) : std::string()),
      log_(library_.WriteFunction(), library_.Problem(), DefaultFallbackLogFile(), std::cerr) {
  if (lab_ != nullptr) {
    platform_.emplace(lab_->MakePlatform());
  } else if (labError_.empty()) {
    platform_.emplace(system_.MakePlatform());
  }
}

Win32Edition::~Win32Edition() = default;

int Win32Edition::RunCommandLine(const std::vector<std::wstring>& words) {
  CliContext context;
  if (platform_) {
    context.platform = &*platform_;
  } else {
    context.platformProblem = L"The lab " + labFolder_ + L" cannot be used: " + labError_;
  }
  return RunCommandLine(words, context);
}

int Win32Edition::RunCommandLine(const std::vector<std::wstring>& words, Platform& platform) {
  CliContext context;
  context.platform = &platform;
  return RunCommandLine(words, context);
}

int Win32Edition::RunCommandLine(const std::vector<std::wstring>& words, CliContext& context) {
  Win32Console console;
  // Answers FILE and report FOLDER are files of this computer, in a lab run too.
  context.hostFiles = &system_.files;
  context.log = &log_;
  context.console = &console;
  return ::RunCommandLine(words, context);
}
