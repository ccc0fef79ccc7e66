// A stand-in for the clustering product's Perl running its installer script, for the tests under Wine:
// `ftPerl install.pl DEFINITION DOMAIN INSTALLDIR` with the Perl input file as standard input.
//
// It writes DEFINITION.def in its working directory, a short summary of what it was given, only when
// the script install.pl is there, the first argument names it, and the input has 29 or 31 lines, each
// ended by CR LF; otherwise it exits with 1 and writes nothing. Two environment variables let a test
// watch it: DUPLEX_TEST_INSTALLER_HOLD names an event that it waits for (at most 20 s) before it
// writes, so that a test decides when the installer ends; DUPLEX_TEST_STARTUP_RECORD names a file that
// receives the start-up information it was started with.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/scoped_handle.h"

namespace {
constexpr DWORD kLongestHoldMs = 20000;

// The arguments and paths of the tests are plain ASCII.
std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

std::wstring Environment(const wchar_t* name) {
  wchar_t value[1024] = {};
  const DWORD length = GetEnvironmentVariableW(name, value, 1024);
  return length > 0 && length < 1024 ? std::wstring(value, length) : std::wstring();
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
  ScopedHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file.IsOpen() && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size() && file.Close() == ERROR_SUCCESS;
}

std::string ReadStandardInput() {
  std::string bytes;
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  char buffer[4096];
  DWORD read = 0;
  while (input != nullptr && input != INVALID_HANDLE_VALUE && ReadFile(input, buffer, sizeof buffer, &read, nullptr) &&
         read > 0) {
    bytes.append(buffer, read);
  }
  return bytes;
}

// The lines of `bytes`, or none at all when a line does not end in CR LF.
std::vector<std::string> CrLfLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos || end == start || bytes[end - 1] != '\r') return {};
    lines.push_back(bytes.substr(start, end - 1 - start));
    start = end + 1;
  }
  return lines;
}

void RecordStartup(const std::wstring& path) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  GetStartupInfoW(&startup);
  WriteWholeFile(path, "flags=" + std::to_string(startup.dwFlags) + " show=" + std::to_string(startup.wShowWindow) +
                           " x=" + std::to_string(startup.dwX) + " y=" + std::to_string(startup.dwY) + "\r\n");
}

// Waits for the test to let the installer end; false when it never does.
bool WaitToBeReleased(const std::wstring& eventName) {
  ScopedHandle released(OpenEventW(SYNCHRONIZE, FALSE, eventName.c_str()));
  return released.IsOpen() && WaitForSingleObject(released.get(), kLongestHoldMs) == WAIT_OBJECT_0;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (const std::wstring record = Environment(L"DUPLEX_TEST_STARTUP_RECORD"); !record.empty()) RecordStartup(record);

  // Perl finds the script in its working directory, as the command line names it without a folder.
  const DWORD script = GetFileAttributesW(L"install.pl");
  if (argc != 5 || std::wstring(argv[1]) != L"install.pl" || script == INVALID_FILE_ATTRIBUTES ||
      (script & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return 1;
  }
  const std::vector<std::string> values = CrLfLines(ReadStandardInput());
  if (values.size() != 29 && values.size() != 31) return 1;

  if (const std::wstring hold = Environment(L"DUPLEX_TEST_INSTALLER_HOLD"); !hold.empty() && !WaitToBeReleased(hold)) {
    return 1;
  }
  const std::string summary = "definition=" + Narrow(argv[2]) + "\r\ndomain=" + Narrow(argv[3]) +
                              "\r\ninstall directory=" + Narrow(argv[4]) +
                              "\r\nvalues=" + std::to_string(values.size()) + " lines\r\nnode 1=" + values[0] +
                              "\r\nnode 2=" + values[1] + "\r\n";
  return WriteWholeFile(std::wstring(argv[2]) + L".def", summary) ? 0 : 1;
}
