// capture writes a folder others may reach (C:\Temp\site-capture): links planted while the servers are
// read are never written through, and a capture killed while it writes leaves nothing under its names.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cli/exit_codes.h"
#include "support/capture_scratch.h"
#include "support/cli_run.h"
#include "support/cluster_wizard.h"

namespace fs = std::filesystem;

TEST(CapturePlantedLinks, AreNeverWrittenThrough) {
  struct Case {
    const char* what;
    bool folderThereEmpty;  // the folder named is there, empty, when the capture begins
    // What someone plants while the servers are read: `victim` is a folder of theirs, holding the file "victim".
    std::function<void(const fs::path& folder, const fs::path& victim)> plant;
  };
  const Case cases[] = {
      {"the folder itself, linked to another", false,
       [](const fs::path& folder, const fs::path& victim) { fs::create_directory_symlink(victim, folder); }},
      {"the README, linked to a file of another's", true,
       [](const fs::path& folder, const fs::path& victim) {
         fs::create_symlink(victim / "victim", folder / "README.txt");
       }},
      {"the servers folder, linked to another", true,
       [](const fs::path& folder, const fs::path& victim) {
         fs::create_directory_symlink(victim, folder / "servers");
       }},
      {"a dangling link where lab.conf goes", true,
       [](const fs::path& folder, const fs::path& victim) {
         fs::create_symlink(victim / "new-file", folder / "lab.conf");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ClusterLab cluster;
    cluster.temp.WriteDriveFile(kDefaultsPath, kClusterAnswers);
    std::unique_ptr<Lab> lab = cluster.temp.Load();
    ASSERT_NE(lab, nullptr);
    CaptureScratch scratch;
    const fs::path folder = scratch.path / "site-capture";
    const fs::path victim = scratch.path / "victim";
    fs::create_directories(victim);
    std::ofstream(victim / "victim") << "the victim's";
    if (c.folderThereEmpty) fs::create_directory(folder);

    // The first progress line comes while the servers are read, after the folder was found new or empty.
    const CliRun run = RunCli(*lab, {L"capture", folder.wstring()}, true, [&] { c.plant(folder, victim); });
    EXPECT_EQ(run.exitCode, exitcode::FileNotWritten);
    EXPECT_EQ(ReadWholeHostFile(victim / "victim"), "the victim's");
    EXPECT_EQ(EntriesOf(victim, true), std::vector<fs::path>{victim / "victim"}) << "nothing written into another's";
    EXPECT_EQ(EntriesOf(scratch.path), (std::vector<fs::path>{folder, victim})) << "the capture's own folder is gone";
  }
}

// The capture is killed in its first write beyond a small file size (SIGXFSZ, as a kill at that
// moment): nothing is found under the capture's name, only its partial folder beside it.
TEST(CaptureKilled, LeavesNothingUnderTheFinalName) {
  ClusterLab cluster;
  cluster.temp.WriteDriveFile(kDefaultsPath, kClusterAnswers);
  CaptureScratch scratch;
  const fs::path folder = scratch.path / "site-capture";
  fs::create_directories(scratch.path);
  // Forked, so that the child writes where this test looks.
  GTEST_FLAG_SET(death_test_style, "fast");
  const auto captureWithSmallFiles = [&] {
    std::unique_ptr<Lab> lab = cluster.temp.Load();
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    // Smaller than a server's registry exports, larger than lab.conf.
    const rlimit small{512, 512};
    setrlimit(RLIMIT_FSIZE, &small);
    RunCli(*lab, {L"capture", folder.wstring()});
    std::exit(0);
  };
  EXPECT_EXIT(captureWithSmallFiles(), testing::KilledBySignal(SIGXFSZ), "");
  EXPECT_FALSE(fs::exists(folder));
  for (const fs::path& entry : EntriesOf(scratch.path)) {
    EXPECT_EQ(entry.filename().string().rfind("site-capture.partial-", 0), 0u) << entry;
  }
}
