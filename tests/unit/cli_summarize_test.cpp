// summarize on folders of reports: what can't be read listed with its reason, new files only, usage errors.
// (The bundled labs' reports, worst first, are summarized end to end by the fleet play's test, tests/fleet.)
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/exit_codes.h"
#include "common/text_encoding.h"
#include "support/cli_run.h"
#include "support/readiness_pair.h"
#include "support/temp_lab.h"

namespace fs = std::filesystem;

namespace {
// The summary's file in `folder` whose name ends in `end`, the run's clock being 2026-12-08 14:30:05.
fs::path Summary(const fs::path& folder, const std::string& end) {
  return folder / ("fleet-summary-20261208-143005" + end);
}

std::vector<std::string> Sorted(std::vector<std::string> lines) {
  std::sort(lines.begin(), lines.end());
  return lines;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

// The summary's CSV rows below its header, each cut to its status and site, sorted.
std::vector<std::string> CsvRows(const fs::path& file) {
  std::vector<std::string> rows;
  std::istringstream in(ReadFile(file));
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) rows.push_back(line.substr(0, line.find(',', line.find(',') + 1)));
  return Sorted(rows);
}

// A scratch folder with a lab to run the commands on (summarize reads no part of it).
struct Fleet {
  Fleet() : lab(scratch.Load()), folder(scratch.Folder() / "fleet") {}
  CliRun Summarize(std::vector<std::wstring> words) {
    words.insert(words.begin(), L"summarize");
    return RunCli(*lab, words);
  }
  TempLab scratch;
  std::unique_ptr<Lab> lab;
  fs::path folder;
};
}  // namespace

TEST(SummarizeCommand, ListsEveryReportItCouldNotReadWithTheReason) {
  Fleet fleet;
  WriteFile(fleet.folder / "oslo" / "readiness-1.json", ReportJson(ReportInputFor(HealthyPair())));
  WriteFile(fleet.folder / "lima" / "readiness-1.json", "{\"schema\": \"duplex-readiness/1\"");
  WriteFile(fleet.folder / "lima" / "notes.txt", "not a report, never read");
  WriteFile(fleet.folder / "kiev" / "readiness-1.JSON", "");
  fs::resize_file(fleet.folder / "kiev" / "readiness-1.JSON", 17u << 20);
  // Each report not read gives its row and a line on standard error with the reason, where a script's log keeps it.
  std::vector<std::string> rows = {"OK,oslo"}, reasons;
  const auto unread = [&](const char* status, const char* site, const char* name, const std::string& why) {
    rows.push_back(std::string(status) + "," + site);
    reasons.push_back(std::string(status) + " " + (fleet.folder / site / name).string() + ": " + why);
  };
  unread("INVALID", "lima", "readiness-1.json", "not JSON: parse error at line 1, column 32");
  unread("NOT READ", "kiev", "readiness-1.JSON", "larger than 16 MB, which no readiness report is");
  // A link is listed, never followed: one back to the fleet's own folder would otherwise never end.
  std::error_code error;
  fs::create_directory_symlink(fleet.folder, fleet.folder / "oslo" / "loop", error);
  if (!error) unread("NOT READ", "oslo", "loop", "a symbolic link, not followed");

  const CliRun run = fleet.Summarize({fleet.folder.wstring()});
  EXPECT_EQ(run.exitCode, exitcode::NotGathered);
  EXPECT_EQ(CsvRows(Summary(fleet.folder, ".csv")), Sorted(rows));
  const std::vector<std::string> errors = Sorted(run.err);
  reasons = Sorted(reasons);
  ASSERT_EQ(errors.size(), reasons.size());
  for (std::size_t i = 0; i < reasons.size(); ++i) EXPECT_EQ(errors[i].substr(0, reasons[i].size()), reasons[i]);
}

TEST(SummarizeCommand, WritesNewFilesOnlyUnderTheNextFreeName) {
  Fleet fleet;
  WriteFile(fleet.folder / "oslo" / "r.json", ReportJson(ReportInputFor(HealthyPair())));
  const fs::path out = fleet.scratch.Folder() / "summaries" / "new";
  const std::string planted = "a file someone keeps";
  WriteFile(Summary(out, "-3.csv"), planted);
  std::vector<std::string> said;
  for (int run = 0; run < 3; ++run) {
    const CliRun summarize = fleet.Summarize({fleet.folder.wstring(), L"out", out.wstring()});
    EXPECT_EQ(summarize.exitCode, exitcode::Clean);
    said.push_back(summarize.out.front());
  }
  const std::string base = Summary(out, "").string();
  EXPECT_EQ(said, (std::vector<std::string>{
                      "The fleet summary was saved to " + base + ".html and " + base + ".csv.",
                      "The fleet summary was saved to " + base + "-2.html and " + base + "-2.csv.",
                      "The fleet summary was saved to " + base + "-4.html and " + base + "-4.csv.",
                  }));
  EXPECT_EQ(ReadFile(Summary(out, "-3.csv")), planted);
  EXPECT_FALSE(fs::exists(Summary(out, "-3.html")));
  EXPECT_EQ(CsvRows(Summary(out, "-4.csv")), std::vector<std::string>{"OK,oslo"});
}

TEST(SummarizeCommand, NamesWhatCanNotBeSummarized) {
  struct Case {
    const char* what;
    const wchar_t* words;  // after summarize, apart by spaces; "FLEET" is the fleet's empty folder
    int exitCode;
    std::string said;
  };
  const Case cases[] = {
      {"no folder", L"", exitcode::Usage, "summarize needs the folders to read."},
      {"only the out folder", L"out x", exitcode::Usage, "summarize needs the folders to read."},
      {"a double-dash word is no folder", L"FLEET --report x", exitcode::Usage,
       "\"--report\" is not an option of summarize."},
      {"a folder that is not there", L"FLEET no-such-folder", exitcode::Usage, "\"no-such-folder\" is not a folder."},
      {"a fleet without a report", L"FLEET", exitcode::NotGathered, "No readiness report was found."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Fleet fleet;
    fs::create_directories(fleet.folder);
    std::vector<std::wstring> words;
    std::wistringstream split(c.words);
    for (std::wstring word; split >> word;) words.push_back(word == L"FLEET" ? fleet.folder.wstring() : word);
    const CliRun run = fleet.Summarize(words);
    EXPECT_EQ(run.exitCode, c.exitCode);
    ASSERT_FALSE(run.err.empty());
    EXPECT_EQ(run.err.front(), c.said);
  }
}
