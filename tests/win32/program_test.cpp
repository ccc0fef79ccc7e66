// The shipped program end to end under Wine: started as a process, answered, and its install log read back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nodes/registry_paths.h"
#include "planted/planted_marker.h"
#include "platform/win32/scoped_handle.h"
#include "system_fixtures.h"
#include "wine_fixtures.h"

namespace {
constexpr wchar_t kCompanyKey[] = L"Software\\Zandor";

// The build tree lives on Wine's drive Z:, which maps the Unix root.
std::wstring ProgramPath() { return OnDriveZ(DUPLEX_PROGRAM_PATH); }

// Sets an environment variable for the processes this test starts, and restores it afterwards.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const wchar_t* name, const wchar_t* value) : name_(name) {
    wchar_t old[4096] = {};
    hadValue_ = GetEnvironmentVariableW(name, old, 4096) > 0;
    old_ = old;
    SetEnvironmentVariableW(name, value);
  }
  ~ScopedEnvironment() { SetEnvironmentVariableW(name_, hadValue_ ? old_.c_str() : nullptr); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  const wchar_t* name_;
  std::wstring old_;
  bool hadValue_ = false;
};

struct ProcessBoxSearch {
  DWORD processId;
  HWND box = nullptr;
};

HWND FindBoxOfProcess(DWORD processId) {
  ProcessBoxSearch search{processId};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* into = reinterpret_cast<ProcessBoxSearch*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != into->processId || !IsMessageBox(window)) return TRUE;
        into->box = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.box;
}

// How a run of the program went: the box it showed (answered with OK) and its exit code.
struct ProgramRun {
  SeenBox box;
  DWORD exitCode = ~0u;
};

// Starts `program` in `currentDirectory` (null: this process's), answers the one box it shows and
// waits for it to end.
void RunAnsweringItsBox(const std::wstring& program, const wchar_t* currentDirectory, ProgramRun* run) {
  std::wstring commandLine = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  ASSERT_TRUE(CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, currentDirectory,
                             &startup, &started))
      << "error " << GetLastError();
  ScopedHandle process(started.hProcess);
  ScopedHandle thread(started.hThread);

  HWND box = nullptr;
  for (int tries = 0; box == nullptr && tries < 1000; ++tries) {
    if (WaitForSingleObject(process.get(), 20) == WAIT_OBJECT_0) break;
    box = FindBoxOfProcess(started.dwProcessId);
  }
  ASSERT_NE(box, nullptr) << "no box from the program";
  run->box = ReadBox(box);
  PostMessageW(box, WM_COMMAND, IDOK, 0);

  ASSERT_EQ(WaitForSingleObject(process.get(), 30000), WAIT_OBJECT_0);
  GetExitCodeProcess(process.get(), &run->exitCode);
}

// The messages of SetupLogKit's lines ("<date> <time> DuplexSetup INFO  <message>").
std::vector<std::string> LoggedMessages(const std::string& log) {
  const std::string tag = "DuplexSetup INFO  ";
  std::vector<std::string> messages;
  std::size_t start = 0;
  while (start < log.size()) {
    std::size_t end = log.find("\r\n", start);
    if (end == std::string::npos) end = log.size();
    const std::string line = log.substr(start, end - start);
    if (const auto at = line.find(tag); at != std::string::npos) messages.push_back(line.substr(at + tag.size()));
    start = end + 2;
  }
  return messages;
}
}  // namespace

TEST(Program, FeatureNotInstalled_ShowsBoxExitsAndLogsBanners) {
  DeleteMachineKeyTree(kCompanyKey);
  ScopedMachineKey product(kProductKey);  // the key without HighAvailMode
  TempFolder folder;
  const std::wstring logFile = folder.File(L"InstallLog.txt");
  ScopedEnvironment logVariable(L"SETUPLOGKIT_LOG_FILE", logFile.c_str());
  ScopedEnvironment noLab(L"DUPLEX_SETUP_LAB", nullptr);

  ProgramRun run;
  ASSERT_NO_FATAL_FAILURE(RunAnsweringItsBox(ProgramPath(), nullptr, &run));
  EXPECT_EQ(run.box.caption, L"DuplexSetupAssistant");
  EXPECT_EQ(run.box.text.rfind(L"The high availability feature is not currently installed on the server.", 0), 0u);
  EXPECT_EQ(run.exitCode, 0u);

  const std::string separator(70, '=');
  EXPECT_EQ(LoggedMessages(ReadFileBytes(logFile)),
            (std::vector<std::string>{separator, "Duplex Setup Wizard Launched",
                                      "The high availability feature is not currently installed on the server",
                                      "Exiting the Duplex Setup Wizard", separator}));
  DeleteMachineKeyTree(kCompanyKey);
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, kCompanyKey);
}

TEST(Program, LoadsTheLogLibraryOnlyFromBesideItself) {
  // A program started from a download folder: a SetupLogKit.dll planted in its current directory
  // (and the real one in the build folder, which the tests' PATH holds) must never be loaded.
  DeleteMachineKeyTree(kCompanyKey);
  ScopedMachineKey product(kProductKey);  // the key without HighAvailMode: one box, then the end
  struct Case {
    const char* what;
    bool libraryBeside;
  };
  for (const Case& row : {Case{"the library beside the program", true}, Case{"no library beside the program", false}}) {
    SCOPED_TRACE(row.what);
    TempFolder programFolder;
    TempFolder downloads;
    TempFolder temporary;
    const std::wstring program = programFolder.File(L"DuplexSetupAssistant.exe");
    ASSERT_TRUE(CopyFileW(ProgramPath().c_str(), program.c_str(), FALSE));
    if (row.libraryBeside) {
      ASSERT_TRUE(
          CopyFileW(OnDriveZ(DUPLEX_SETUPLOGKIT_PATH).c_str(), programFolder.File(L"SetupLogKit.dll").c_str(), FALSE));
    }
    ASSERT_TRUE(
        CopyFileW(OnDriveZ(DUPLEX_PLANTED_LIBRARY_PATH).c_str(), downloads.File(L"SetupLogKit.dll").c_str(), FALSE));
    const std::wstring marker = temporary.File(L"planted.txt");
    const std::wstring logFile = temporary.File(L"InstallLog.txt");
    ScopedEnvironment markTo(kPlantedMarkerVariable, marker.c_str());
    ScopedEnvironment logVariable(L"SETUPLOGKIT_LOG_FILE", logFile.c_str());
    ScopedEnvironment noLab(L"DUPLEX_SETUP_LAB", nullptr);
    // Where the program keeps its lines when the library is missing.
    ScopedEnvironment tmp(L"TMP", temporary.Path().c_str());
    ScopedEnvironment temp(L"TEMP", temporary.Path().c_str());

    ProgramRun run;
    ASSERT_NO_FATAL_FAILURE(RunAnsweringItsBox(program, downloads.Path().c_str(), &run));
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_FALSE(FileExists(marker)) << ReadFileBytes(marker);
    const std::string fallback = ReadFileBytes(temporary.File(L"DuplexSetupAssistant-fallback.log"));
    if (row.libraryBeside) {
      EXPECT_EQ(LoggedMessages(ReadFileBytes(logFile)).size(), 5u);
      EXPECT_EQ(fallback, "");
    } else {
      EXPECT_FALSE(FileExists(logFile)) << "another copy of the library wrote the log";
      EXPECT_NE(fallback.find("SetupLogKit.dll could not be loaded"), std::string::npos) << fallback;
      EXPECT_NE(fallback.find("DuplexSetup INFO  Duplex Setup Wizard Launched"), std::string::npos) << fallback;
    }
  }
  DeleteMachineKeyTree(kCompanyKey);
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, kCompanyKey);
}
