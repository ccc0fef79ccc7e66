#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "log/setuplogkit_log.h"
#include "setuplogkit/log_line.h"
#include "setuplogkit/setuplogkit.h"
#include "setuplogkit/setuplogkit_loader.h"

namespace fs = std::filesystem;

namespace {
std::string ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Loads the library by name, as the program does, with its lines going to `log`.
KovaWriteToInstallLogFileFn LoadWritingTo(const fs::path& log, std::unique_ptr<SetupLogKitLibrary>* library) {
  *library = std::make_unique<SetupLogKitLibrary>(log.string());
  EXPECT_EQ((*library)->Problem(), "");
  return (*library)->WriteFunction();
}

class TempFolder {
 public:
  // std::rand() starts from the same seed in every process: tests run side by side (ctest -j) would share a folder.
  TempFolder() : path_(fs::temp_directory_path() / ("setuplogkit-" + std::to_string(std::random_device()()))) {
    fs::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code error;
    fs::remove_all(path_, error);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};
}  // namespace

TEST(FormatLogLine, StampsSourceClassAndKeepsOneEntryPerCall) {
  const LogTime time{2026, 12, 8, 4, 5, 6, 7};
  EXPECT_EQ(FormatLogLine(time, L"DuplexSetup", 2, L"\tCLAN Domain = ha.local", "\n"),
            "2026-12-08 04:05:06.007 DuplexSetup INFO  \tCLAN Domain = ha.local\n");
  EXPECT_EQ(FormatLogLine(time, L"DuplexSetup", 0, L"Validation Errors Detected.", "\r\n"),
            "2026-12-08 04:05:06.007 DuplexSetup ERROR Validation Errors Detected.\r\n");
  EXPECT_EQ(FormatLogLine(time, L"X", 5, L"a\r\nb\nc", "\n"), "2026-12-08 04:05:06.007 X CLASS5 a\n    b\n    c\n")
      << "a message's own line breaks become indented continuations";
}

TEST(SetupLogKit, AppendsLinesWithoutTruncatingAndKeepsNonAsciiText) {
  TempFolder folder;
  const fs::path log = folder.path() / "install.log";
  { std::ofstream(log, std::ios::binary) << "earlier run\n"; }
  std::unique_ptr<SetupLogKitLibrary> library;
  const KovaWriteToInstallLogFileFn write = LoadWritingTo(log, &library);
  ASSERT_NE(write, nullptr);
  EXPECT_EQ(write(L"DuplexSetup", L"Hostname = n\u00F6de-\u4E2D", 2, 2), 0);
  EXPECT_EQ(write(L"DuplexSetup", L"second", 0, 2), 0);
  const std::string text = ReadAll(log);
  EXPECT_EQ(text.rfind("earlier run\n", 0), 0u) << "never truncates";
  EXPECT_NE(text.find("DuplexSetup INFO  Hostname = n\xC3\xB6"
                      "de-\xE4\xB8\xAD"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("DuplexSetup ERROR second"), std::string::npos) << text;
  EXPECT_LT(text.find("Hostname"), text.find("second"));

  std::unique_ptr<SetupLogKitLibrary> elsewhere;
  const KovaWriteToInstallLogFileFn writeElsewhere =
      LoadWritingTo(folder.path() / "missing-folder" / "install.log", &elsewhere);
  ASSERT_NE(writeElsewhere, nullptr);
  EXPECT_NE(writeElsewhere(L"DuplexSetup", L"lost?", 2, 2), 0) << "a failed write is reported";
}

TEST(SetupLogKit, ConcurrentWritersNeverInterleaveALine) {
  TempFolder folder;
  const fs::path log = folder.path() / "install.log";
  std::unique_ptr<SetupLogKitLibrary> library;
  const KovaWriteToInstallLogFileFn write = LoadWritingTo(log, &library);
  ASSERT_NE(write, nullptr);
  constexpr int kWriters = 4;
  constexpr int kLines = 100;
  std::vector<std::thread> writers;
  for (int w = 0; w < kWriters; ++w) {
    writers.emplace_back([w, write] {
      const std::wstring message =
          L"writer " + std::to_wstring(w) + L" " + std::wstring(300, static_cast<wchar_t>(L'a' + w));
      for (int i = 0; i < kLines; ++i) write(L"DuplexSetup", message.c_str(), 2, 2);
    });
  }
  for (auto& writer : writers) writer.join();
  std::istringstream lines(ReadAll(log));
  std::string line;
  int count = 0;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    ++count;
    const auto at = line.find("writer ");
    ASSERT_NE(at, std::string::npos) << line;
    const char letter = static_cast<char>('a' + (line[at + 7] - '0'));
    EXPECT_EQ(line.substr(at + 9), std::string(300, letter)) << "line " << count << " is mixed";
  }
  EXPECT_EQ(count, kWriters * kLines);
}

namespace {
struct CapturedCall {
  std::wstring source, message;
  int messageClass, target;
};
std::vector<CapturedCall> captured;
int CaptureWrite(const wchar_t* source, const wchar_t* message, int messageClass, int target) {
  captured.push_back({source, message, messageClass, target});
  return 0;
}
}  // namespace

TEST(SetupLogKitLog, HandsEveryLineToTheLibraryWithTheProgramsTagAndTarget) {
  captured.clear();
  std::ostringstream diagnostics;
  SetupLogKitLog log(&CaptureWrite, "", "unused", diagnostics);
  log.Error(L"RegOpenKeyEx(x) failed. rc = 5");
  log.Info(L"\tSwitch IP Address = 10.0.0.1");
  ASSERT_EQ(captured.size(), 2u);
  EXPECT_EQ(captured[0].source, L"DuplexSetup");
  EXPECT_EQ(captured[0].messageClass, 0);
  EXPECT_EQ(captured[1].messageClass, 2);
  EXPECT_EQ(captured[1].target, 2);
  EXPECT_EQ(captured[1].message, L"\tSwitch IP Address = 10.0.0.1");
  EXPECT_TRUE(diagnostics.str().empty());
}

TEST(SetupLogKitLog, WithoutTheLibrarySaysSoOnceAndKeepsEveryLine) {
  TempFolder folder;
  const fs::path fallback = folder.path() / "fallback.log";
  std::ostringstream diagnostics;
  SetupLogKitLog log(nullptr, "libSetupLogKit.so could not be loaded (not found)", fallback, diagnostics);
  log.Info(L"Duplex Setup Wizard Launched");
  log.Error(L"caf\u00E9");
  const std::string notice = diagnostics.str();
  EXPECT_NE(notice.find("could not be loaded"), std::string::npos);
  EXPECT_EQ(notice.find("could not be loaded"), notice.rfind("could not be loaded")) << "said once";
  const std::string kept = ReadAll(fallback);
  EXPECT_NE(kept.find("INFO  Duplex Setup Wizard Launched\n"), std::string::npos) << kept;
  EXPECT_NE(kept.find("ERROR caf\xC3\xA9\n"), std::string::npos) << kept;
}
