// Controlled machine-wide state made with Wine's own reg.exe and sc.exe: imported keys and registered services.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "wine_fixtures.h"

// The Windows form of a path in the build tree, which Wine sees on drive Z: (the Unix root).
std::wstring OnDriveZ(std::wstring unixPath);

// Runs a command line with its output thrown away and waits for it; its exit code, or a text that says
// why it did not run (empty on success, as for the fixtures below).
struct CommandResult {
  DWORD exitCode = ~0u;
  std::string problem;
};
CommandResult RunCommand(std::wstring commandLine, DWORD timeoutMs = 60000);

// A version 5 .reg file for HKEY_LOCAL_MACHINE, built up key by key the way `reg export` writes it.
class RegFileText {
 public:
  RegFileText& Key(const std::wstring& path);
  RegFileText& String(const std::wstring& name, const std::wstring& text);
  RegFileText& MultiString(const std::wstring& name, const std::vector<std::wstring>& strings);
  RegFileText& Dword(const std::wstring& name, DWORD value);
  // UTF-16LE with a byte-order mark and CR LF line ends.
  std::string Bytes() const;

 private:
  std::wstring text_ = L"Windows Registry Editor Version 5.00\r\n";
};

// Gives the keys under `ownedKeys` (paths below HKLM) exactly the content of `file`, imported with
// `reg import`, for the fixture's lifetime. What Wine had at those keys is exported aside first and put
// back at the end; keys and parents that did not exist before are removed again.
class ScopedRegImport {
 public:
  ScopedRegImport(std::vector<std::wstring> ownedKeys, const RegFileText& file);
  ~ScopedRegImport();
  ScopedRegImport(const ScopedRegImport&) = delete;
  ScopedRegImport& operator=(const ScopedRegImport&) = delete;

  const std::string& Problem() const { return problem_; }

 private:
  struct Owned {
    std::wstring path;
    std::wstring savedFile;      // the export of what was there, if anything was
    std::wstring createdParent;  // the outermost key the import brought into being, if any
  };
  TempFolder folder_;
  std::vector<Owned> owned_;
  std::string problem_;
};

// A service of this computer's manager, registered with `sc create` to run duplex_test_service.exe
// and, if asked, started with `sc start` and waited for until it runs. Stopped and deleted at the end.
class ScopedTestService {
 public:
  ScopedTestService(std::wstring name, bool start);
  ~ScopedTestService();
  ScopedTestService(const ScopedTestService&) = delete;
  ScopedTestService& operator=(const ScopedTestService&) = delete;

  const std::string& Problem() const { return problem_; }

 private:
  std::wstring name_;
  std::string problem_;
};
