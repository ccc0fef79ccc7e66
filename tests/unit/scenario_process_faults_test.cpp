// Scripts break the lab's process starts: the faults reach lab.conf, a restarted run and the open window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scenario/scenario_runner.h"
#include "scenario/scenario_script.h"
#include "scenario/transcript.h"

namespace {

constexpr char kBox[] = "box [DuplexSetupAssistant]: ";
constexpr char kUnableToExecute[] = "Unable to execute cmd /c ";
constexpr char kStillRunning[] = "The installer is still running after 5 minutes";

// The texts of the boxes the transcript shows, in order.
std::vector<std::string> BoxTexts(const std::vector<std::string>& lines) {
  std::vector<std::string> boxes;
  for (const std::string& line : lines) {
    if (line.rfind(kBox, 0) == 0) boxes.push_back(line.substr(sizeof kBox - 1));
  }
  return boxes;
}

}  // namespace

TEST(ScenarioProcessFaults, BadValuesAreNamedWithTheirLine) {
  struct Case {
    const char* script;
    const char* reason;
  };
  const Case cases[] = {
      {"fault start-error two\n", "fault start-error needs a number, as in \"fault start-error 2\""},
      {"fault process-delay-ms\n", "fault process-delay-ms needs a number, as in \"fault process-delay-ms 600000\""},
      {"fault process-delay-ms 4294967296\n",
       "fault process-delay-ms needs a number, as in \"fault process-delay-ms 600000\""},
      {"fault start-error 2 5\n", "unexpected text after the command"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    std::vector<ScenarioCommand> commands;
    ScriptError error;
    EXPECT_FALSE(ParseScenarioScript(c.script, &commands, &error));
    EXPECT_EQ(error.line, 1);
    EXPECT_EQ(error.reason, c.reason);
  }
}

TEST(ScenarioProcessFaults, StartErrorAndDelayReachStep3NowAndAfterARestart) {
  const std::string script =
      "lab demo\n"
      "file D:\\Zandor\\HA\\ToolkitInstaller2.0\\HADefaults.dat 1\\r\\nha-managed\\r\\n10.1.1.5\\r\\n10.2.2.5\\r\\n"
      "node-a\\r\\nnode-b\\r\\nadmin\\r\\nworkgroup\\r\\n1\\r\\nha1\\r\\n127.0.0.1\\r\\n\n"
      "fault start-error 1455\n"
      "start\n"
      "press step3\n"
      // Taking effect in the open window.
      "fault start-error 0\n"
      "fault process-delay-ms 600000\n"
      "press step3\n"
      // Read back from the copy's lab.conf, where the later line of a key wins.
      "restart\n"
      "press step3\n";
  std::vector<ScenarioCommand> commands;
  ScriptError error;
  ASSERT_TRUE(ParseScenarioScript(script, &commands, &error)) << error.line << ": " << error.reason;
  Transcript transcript;
  {
    ScenarioRunner runner({DUPLEX_LAB_DIR, DUPLEX_LAB_DIR, {}, {}, {}}, transcript);
    ASSERT_TRUE(runner.Run(commands, &error)) << error.line << ": " << error.reason;
  }
  const std::vector<std::string> boxes = BoxTexts(transcript.Lines());
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].rfind(kUnableToExecute, 0), 0u) << boxes[0];
  EXPECT_EQ(boxes[1].rfind(kStillRunning, 0), 0u) << boxes[1];
  EXPECT_EQ(boxes[2].rfind(kStillRunning, 0), 0u) << boxes[2];
}
