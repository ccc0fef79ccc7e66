// summarize on folders of reports: what can't be read listed with its reason, new files only, usage errors.
// (The bundled labs' reports, worst first, are summarized end to end by the fleet play's test, tests/fleet.)
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
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
constexpr char kSummary[] = "fleet-summary-20261208-143005";

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

// The summary's CSV rows below its header, each cut to its first `columns` fields.
std::vector<std::string> CsvRows(const fs::path& file, int columns) {
  std::vector<std::string> rows;
  std::istringstream in(ReadFile(file));
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    std::size_t end = 0;
    for (int i = 0; i < columns && end != std::string::npos; ++i) end = line.find(',', end + (i > 0 ? 1 : 0));
    rows.push_back(line.substr(0, end));
  }
  return rows;
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
  const auto said = [&fleet](const char* status, const char* site, const char* name, const std::string& why) {
    return std::string(status) + " " + (fleet.folder / site / name).string() + ": " + why;
  };
  std::vector<std::string> rows = {"INVALID,lima", "NOT READ,kiev", "OK,oslo"};
  std::vector<std::string> reasons = {
      said("INVALID", "lima", "readiness-1.json", "not JSON: parse error at line 1, column 32"),
      said("NOT READ", "kiev", "readiness-1.JSON", "larger than 16 MB, which no readiness report is"),
  };
  // A link is listed, never followed: one back to the fleet's own folder would otherwise never end.
  std::error_code error;
  fs::create_directory_symlink(fleet.folder, fleet.folder / "oslo" / "loop", error);
  if (!error) {
    rows.push_back("NOT READ,oslo");
    reasons.push_back(said("NOT READ", "oslo", "loop", "a symbolic link, not followed"));
  }

  const CliRun run = fleet.Summarize({fleet.folder.wstring()});
  EXPECT_EQ(run.exitCode, exitcode::NotGathered);
  std::vector<std::string> found = CsvRows(fleet.folder / (std::string(kSummary) + ".csv"), 2);
  std::sort(found.begin(), found.end());
  std::sort(rows.begin(), rows.end());
  EXPECT_EQ(found, rows);
  // Each is said with its reason on standard error, where a script's log keeps it.
  ASSERT_EQ(run.err.size(), reasons.size());
  std::sort(reasons.begin(), reasons.end());
  std::vector<std::string> errors = run.err;
  std::sort(errors.begin(), errors.end());
  for (std::size_t i = 0; i < reasons.size(); ++i) EXPECT_EQ(errors[i].substr(0, reasons[i].size()), reasons[i]);
}

TEST(SummarizeCommand, WritesNewFilesOnlyUnderTheNextFreeName) {
  Fleet fleet;
  WriteFile(fleet.folder / "oslo" / "r.json", ReportJson(ReportInputFor(HealthyPair())));
  const fs::path out = fleet.scratch.Folder() / "summaries" / "new";
  const std::string planted = "a file someone keeps";
  WriteFile(out / (std::string(kSummary) + "-3.csv"), planted);
  std::vector<std::string> said;
  for (int run = 0; run < 3; ++run) {
    const CliRun summarize = fleet.Summarize({fleet.folder.wstring(), L"out", out.wstring()});
    EXPECT_EQ(summarize.exitCode, exitcode::Clean);
    said.push_back(summarize.out.front());
  }
  const std::string base = (out / kSummary).string();
  EXPECT_EQ(said, (std::vector<std::string>{
                      "The fleet summary was saved to " + base + ".html and " + base + ".csv.",
                      "The fleet summary was saved to " + base + "-2.html and " + base + "-2.csv.",
                      "The fleet summary was saved to " + base + "-4.html and " + base + "-4.csv.",
                  }));
  EXPECT_EQ(ReadFile(out / (std::string(kSummary) + "-3.csv")), planted);
  EXPECT_FALSE(fs::exists(out / (std::string(kSummary) + "-3.html")));
  EXPECT_EQ(CsvRows(out / (std::string(kSummary) + "-4.csv"), 2), std::vector<std::string>{"OK,oslo"});
}

TEST(SummarizeCommand, NamesWhatCanNotBeSummarized) {
  struct Case {
    const char* what;
    std::vector<std::wstring> words;  // after summarize; "FLEET" is the fleet's empty folder
    int exitCode;
    std::string said;
  };
  const Case cases[] = {
      {"no folder", {}, exitcode::Usage, "summarize needs the folders to read."},
      {"only the out folder", {L"out", L"x"}, exitcode::Usage, "summarize needs the folders to read."},
      {"a double-dash word is no folder",
       {L"FLEET", L"--report", L"x"},
       exitcode::Usage,
       "\"--report\" is not an option of summarize."},
      {"a folder that is not there",
       {L"FLEET", L"no-such-folder"},
       exitcode::Usage,
       "\"no-such-folder\" is not a folder."},
      {"a fleet without a report", {L"FLEET"}, exitcode::NotGathered, "No readiness report was found."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Fleet fleet;
    fs::create_directories(fleet.folder);
    std::vector<std::wstring> words = c.words;
    std::replace(words.begin(), words.end(), std::wstring(L"FLEET"), fleet.folder.wstring());
    const CliRun run = fleet.Summarize(words);
    EXPECT_EQ(run.exitCode, c.exitCode);
    ASSERT_FALSE(run.err.empty());
    EXPECT_EQ(run.err.front(), c.said);
  }
}
