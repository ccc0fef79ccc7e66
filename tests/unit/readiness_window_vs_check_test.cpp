// The one readiness run seen from both front ends: the window's Step 2 and check write the same report.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "platform/lab/lab.h"
#include "scenario/scenario_runner.h"
#include "support/cli_run.h"
#include "support/temp_lab.h"

namespace fs = std::filesystem;

namespace {
// The demo's stage 1 as its README types it, up to Step 2.
constexpr char kWindowScript[] =
    "lab demo\nstart\ntype managed-host ha-managed\ntype managed-clan-ip 10.1.1.5\ntype managed-elan-ip 10.2.2.5\n"
    "type node2 node-b\ntype user admin\ntype domain workgroup\nchoose boards 3\ntype autostart-domain ha1\n"
    "type clan-test-ip 127.0.0.1\npress step1\npress step2\n";
// The same entries as an answers file.
constexpr char kAnswers[] =
    "0\r\nha-managed\r\n10.1.1.5\r\n10.2.2.5\r\nnode-a\r\nnode-b\r\nadmin\r\nworkgroup\r\n3\r\nha1\r\n127.0.0.1\r\n";

// The one JSON report in `folder`, without the time it was written at and the lab's folder (each run has a copy of
// its own).
nlohmann::json ReportWithoutTime(const fs::path& folder) {
  std::vector<fs::path> found;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() == ".json") found.push_back(entry.path());
  }
  if (found.size() != 1) {
    ADD_FAILURE() << found.size() << " JSON reports in " << folder;
    return {};
  }
  std::ifstream in(found.front(), std::ios::binary);
  nlohmann::json report = nlohmann::json::parse(std::string(std::istreambuf_iterator<char>(in), {}));
  report["run"].erase("time");
  report["run"].erase("lab");
  return report;
}
}  // namespace

TEST(ReadinessRun, WindowsStepTwoAndCheckWriteTheSameReport) {
  TempLab folders;
  const fs::path windowReports = folders.Folder() / "window-reports";
  const fs::path checkReports = folders.Folder() / "check-reports";
  fs::create_directories(windowReports);
  {
    Transcript transcript;
    ScenarioRunner window({{}, DUPLEX_LAB_DIR, windowReports, "window", {}}, transcript);
    std::vector<ScenarioCommand> commands;
    ScriptError error;
    ASSERT_TRUE(ParseScenarioScript(kWindowScript, &commands, &error)) << error.reason;
    ASSERT_TRUE(window.Run(commands, &error)) << error.line << ": " << error.reason;
  }

  const fs::path demo = folders.Folder() / "demo";
  fs::copy(fs::path(DUPLEX_LAB_DIR) / "demo", demo, fs::copy_options::recursive);
  const fs::path answers = folders.Folder() / "answers.dat";
  std::ofstream(answers, std::ios::binary) << kAnswers;
  std::string error;
  const std::unique_ptr<Lab> lab = Lab::Load(demo, &error);
  ASSERT_NE(lab, nullptr) << error;
  const CliRun check = RunCli(*lab, {L"check", L"answers", answers.wstring(), L"report", checkReports.wstring()});
  ASSERT_EQ(check.exitCode, 0);

  const nlohmann::json fromWindow = ReportWithoutTime(windowReports);
  const nlohmann::json fromCheck = ReportWithoutTime(checkReports);
  EXPECT_EQ(fromWindow["run"]["stage"], 1);
  EXPECT_EQ(fromWindow["run"]["step"], 2);
  EXPECT_EQ(fromWindow, fromCheck) << nlohmann::json::diff(fromWindow, fromCheck).dump(1);
}
