// Drives D: and E: as the tests' own folders, and the clustering product laid out on them as Step 3 finds it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/win32/scoped_handle.h"

// The fixed places Step 3 uses, as the tests lay them out.
inline constexpr wchar_t kTestInstallFolder[] = L"D:\\Program Files\\EMC AutoStart";
inline constexpr wchar_t kTestToolkitFolder[] = L"D:\\Zandor\\HA\\ToolkitInstaller2.0";
inline constexpr wchar_t kTestValuesFile[] = L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\values.dat";
inline constexpr wchar_t kTestDefaultsFile[] = L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\HADefaults.dat";
inline constexpr wchar_t kTestIniFile[] = L"E:\\Zandor\\HA\\AutoStart_Configuration.ini";

// The installer's two command lines for domain ha1, as the product's documentation writes them, and
// the definitions they leave.
inline constexpr wchar_t kSingleBoardCommand[] =
    L"cmd /c \"\"D:\\Program Files\\EMC AutoStart\\ha1\\bin\\ftPerl\" install.pl Vestamail-Mirroring-Single ha1 "
    L"\"D:\\Program Files\\EMC AutoStart\" < \"D:\\Zandor\\HA\\ToolkitInstaller2.0\\values.dat\" \"";
// No closing quote: cmd removes the one that closes the input path, which leaves "values.dat " to open.
inline constexpr wchar_t kThreeBoardCommand[] =
    L"cmd /c \"\"D:\\Program Files\\EMC AutoStart\\ha1\\bin\\ftPerl\" install.pl Vestamail-Mirroring ha1 "
    L"\"D:\\Program Files\\EMC AutoStart\" < \"D:\\Zandor\\HA\\ToolkitInstaller2.0\\values.dat\" ";
inline constexpr wchar_t kSingleBoardDefinition[] =
    L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\Vestamail-Mirroring-Single.def";
inline constexpr wchar_t kThreeBoardDefinition[] = L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\Vestamail-Mirroring.def";

// Drives D: and E:, which run-under-wine.sh maps to empty folders of the test run, each with a marker
// file in its root: emptied (all but the marker) when the fixture is made and again at its end, so that
// every test starts from bare drives. A drive without the marker is never touched; Problem() says so.
class TestDrives {
 public:
  TestDrives();
  ~TestDrives();
  TestDrives(const TestDrives&) = delete;
  TestDrives& operator=(const TestDrives&) = delete;

  const std::string& Problem() const { return problem_; }

 private:
  void Empty() const;

  std::wstring marker_;
  std::string problem_;
};

// The product installed for `domain` as Step 3 relies on it: the domain's manifest and its
// bin\ftPerl.exe (the test stand-in) under the install folder, the toolkit folder with install.pl,
// and the folder E:\Zandor\HA for the INI file. Empty on success, else what could not be made.
std::string LayOutInstallation(const std::wstring& domain);

// Each of `lines` ended by CR LF, as the program's text files are.
std::string CrLfText(const std::vector<std::string>& lines);

// An environment variable of this process, inherited by the processes it starts, set for the fixture's
// lifetime; the earlier value, or its absence, comes back at the end.
class ScopedEnvironmentVariable {
 public:
  ScopedEnvironmentVariable(std::wstring name, const std::wstring& value);
  ~ScopedEnvironmentVariable();
  ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
  ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

 private:
  std::wstring name_;
  std::optional<std::wstring> earlier_;
};

// Keeps every installer stand-in started meanwhile from writing its definition and ending until
// Release(), so that a test decides when the installer ends instead of guessing how long it takes.
// A stand-in never released gives up after 20 s, writing nothing.
class InstallerHold {
 public:
  InstallerHold();
  // A test that ends early lets its installers go rather than leave them waiting.
  ~InstallerHold() { Release(); }
  InstallerHold(const InstallerHold&) = delete;
  InstallerHold& operator=(const InstallerHold&) = delete;

  void Release() const { SetEvent(released_.get()); }
  bool IsValid() const { return released_.IsOpen(); }

 private:
  static std::wstring UniqueName();

  std::wstring name_;
  ScopedHandle released_;
  ScopedEnvironmentVariable variable_;
};
