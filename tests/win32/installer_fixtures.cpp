// Drives D: and E: as the tests' own folders, and the clustering product laid out on them as Step 3 finds it.
#include "installer_fixtures.h"

#include <atomic>
#include <filesystem>
#include <system_error>
#include <utility>

#include "system_fixtures.h"
#include "wine_fixtures.h"

namespace {
constexpr const wchar_t* kDrives[] = {L"D:\\", L"E:\\"};

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

std::optional<std::wstring> Environment(const std::wstring& name) {
  const DWORD size = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
  if (size == 0) return std::nullopt;
  std::wstring value(size, L'\0');
  const DWORD length = GetEnvironmentVariableW(name.c_str(), value.data(), size);
  value.resize(length < size ? length : 0);
  return value;
}

std::string MakeFolder(const std::wstring& path) {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(path), error);
  return error ? "cannot make " + Narrow(path) + ": " + error.message() : std::string();
}
}  // namespace

TestDrives::TestDrives() {
  marker_ = Environment(L"DUPLEX_TEST_DRIVE_MARKER").value_or(L"");
  for (const wchar_t* drive : kDrives) {
    if (marker_.empty() || !FileExists(drive + marker_)) {
      problem_ = Narrow(drive) + " is not a test folder (no marker): run the tests through run-under-wine.sh";
      return;
    }
  }
  Empty();
}

TestDrives::~TestDrives() {
  if (problem_.empty()) Empty();
}

void TestDrives::Empty() const {
  for (const wchar_t* drive : kDrives) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(drive), error)) {
      if (entry.path().filename().wstring() == marker_) continue;
      std::error_code ignored;
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_write,
                                   std::filesystem::perm_options::add, ignored);
      std::filesystem::remove_all(entry.path(), ignored);
    }
  }
}

std::string LayOutInstallation(const std::wstring& domain) {
  const std::wstring domainFolder = std::wstring(kTestInstallFolder) + L"\\" + domain;
  for (const std::wstring& folder :
       {domainFolder + L"\\bin", std::wstring(kTestToolkitFolder), std::wstring(L"E:\\Zandor\\HA")}) {
    if (std::string problem = MakeFolder(folder); !problem.empty()) return problem;
  }
  WriteFileBytes(domainFolder + L"\\manifest", "test installation\r\n");
  WriteFileBytes(std::wstring(kTestToolkitFolder) + L"\\install.pl", "# run by the ftPerl stand-in\r\n");
  const std::wstring perl = domainFolder + L"\\bin\\ftPerl.exe";
  if (!CopyFileW(OnDriveZ(DUPLEX_TEST_FTPERL_PATH).c_str(), perl.c_str(), FALSE)) {
    return "cannot copy the ftPerl stand-in: " + std::to_string(GetLastError());
  }
  return {};
}

std::string CrLfText(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

ScopedEnvironmentVariable::ScopedEnvironmentVariable(std::wstring name, const std::wstring& value)
    : name_(std::move(name)), earlier_(Environment(name_)) {
  SetEnvironmentVariableW(name_.c_str(), value.c_str());
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable() {
  SetEnvironmentVariableW(name_.c_str(), earlier_ ? earlier_->c_str() : nullptr);
}

InstallerHold::InstallerHold()
    : name_(UniqueName()),
      released_(CreateEventW(nullptr, TRUE, FALSE, name_.c_str())),
      variable_(L"DUPLEX_TEST_INSTALLER_HOLD", name_) {}

std::wstring InstallerHold::UniqueName() {
  static std::atomic<unsigned> made{0};
  return L"Local\\duplex-installer-hold-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++made);
}
