// The files a person names on the command line, and the reports check writes: an answers file that may be anything,
// report names that something else holds. POSIX only: the tests plant links, pipes and devices.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "cli/exit_codes.h"
#include "common/text_encoding.h"
#include "support/cli_run.h"
#include "support/cluster_wizard.h"

namespace fs = std::filesystem;

namespace {
const std::string kBase = "readiness-20261208-143005";

std::set<std::string> Names(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

std::string Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Contains(const std::vector<std::string>& lines, const std::string& text) {
  return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) { return line.find(text) != line.npos; });
}
}  // namespace

TEST(ReportFiles, NeverWrittenOverNorThroughALink) {
  enum class Where { Usual, NamedFolder };
  struct Case {
    const char* what;
    Where where;
    // Plants something in the report folder (made beforehand, once the lab is loaded: a lab holding a link is
    // refused); `outside` is a folder apart.
    std::function<void(const fs::path& folder, const fs::path& outside)> plant;
    const char* suffix;  // of the name both new files share
  };
  const auto earlierReport = [](const fs::path& folder, const fs::path&) {
    std::ofstream(folder / (kBase + ".json")) << "earlier";
    std::ofstream(folder / (kBase + ".html")) << "earlier";
  };
  const auto linkToVictim = [](const fs::path& folder, const fs::path& outside) {
    std::ofstream(outside / "victim.txt") << "victim";
    fs::create_symlink(outside / "victim.txt", folder / (kBase + ".html"));
  };
  const auto linkToNowhere = [](const fs::path& folder, const fs::path& outside) {
    fs::create_symlink(outside / "created-through-the-link", folder / (kBase + ".json"));
  };
  const auto nothing = [](const fs::path&, const fs::path&) {};
  const Case cases[] = {
      {"the usual folder, nothing there", Where::Usual, nothing, ""},
      {"the usual folder, a report of the same second", Where::Usual, earlierReport, "-2"},
      {"the usual folder, a link to another file under the HTML name", Where::Usual, linkToVictim, "-2"},
      {"a named folder, a report of the same second", Where::NamedFolder, earlierReport, "-2"},
      {"a named folder, a link to nowhere under the JSON name", Where::NamedFolder, linkToNowhere, "-2"},
      {"a named folder, a link to another file under the HTML name", Where::NamedFolder, linkToVictim, "-2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ClusterLab cluster;
    cluster.temp.WriteDriveFile(kDefaultsPath, kClusterAnswers);
    std::unique_ptr<Lab> lab = cluster.temp.Load();
    ASSERT_NE(lab, nullptr);
    const TempLab scratch;
    const fs::path outside = scratch.Folder() / "outside";
    fs::create_directories(outside);
    const fs::path folder = c.where == Where::Usual ? cluster.temp.DriveHostPath(L"C:\\ProgramData\\Zandor\\Reports")
                                                    : scratch.Folder() / "named" / "reports";
    fs::create_directories(folder);
    c.plant(folder, outside);
    const std::string savedAs = kBase + c.suffix;
    std::set<std::string> expected = Names(folder);
    expected.insert({savedAs + ".json", savedAs + ".html"});
    std::vector<std::wstring> words = {L"check"};
    if (c.where == Where::NamedFolder) words.insert(words.end(), {L"report", WideFromUtf8(folder.string())});

    const CliRun run = RunCli(*lab, words);
    EXPECT_EQ(run.exitCode, exitcode::Clean);
    EXPECT_TRUE(Contains(run.out, savedAs + ".html")) << "the saved name is told";
    // Nothing else in the folder: no temporary left, nothing written over.
    EXPECT_EQ(Names(folder), expected);
    EXPECT_NE(Read(folder / (savedAs + ".json")).find("\"schema\""), std::string::npos);
    EXPECT_NE(Read(folder / (savedAs + ".html")).find("</html>"), std::string::npos);
    if (fs::exists(outside / "victim.txt")) {
      EXPECT_EQ(Read(outside / "victim.txt"), "victim");
    }
    EXPECT_FALSE(fs::exists(outside / "created-through-the-link"));
  }
}

TEST(AnswersFile, OnlyASmallFileIsRead) {
  const TempLab scratch;
  const fs::path fifo = scratch.Folder() / "answers.fifo", big = scratch.Folder() / "big.dat";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::ofstream(big, std::ios::binary) << kClusterAnswers << std::string(65537 - std::strlen(kClusterAnswers), 'x');
  struct Case {
    const char* what;
    fs::path file;
    std::string why;  // after "cannot be read. "
  };
  const Case cases[] = {
      {"a folder", scratch.Folder(), "It is not a file"},
      {"a device that never ends", "/dev/zero", "It is not a file"},
      {"a pipe nobody writes to", fifo, "It is not a file"},
      {"a file one byte over 64 KiB", big, "It is larger than 64 KiB"},
      {"a file that says it is empty and can't be read", "/proc/self/mem", "rc = 5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ClusterLab cluster;
    std::unique_ptr<Lab> lab = cluster.temp.Load();
    ASSERT_NE(lab, nullptr);
    const CliRun run = RunCli(*lab, {L"check", L"answers", WideFromUtf8(c.file.string())});
    EXPECT_EQ(run.exitCode, exitcode::Usage);
    EXPECT_TRUE(Contains(run.err, "The answers file " + c.file.string() + " cannot be read. " + c.why)) << c.why;
  }
}
