// The scenario runner's own parts: reading scripts, the scripted window, the run's rules and the comparison.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/lab/lab_folder.h"
#include "resource.h"
#include "scenario/scenario_runner.h"
#include "scenario/scenario_script.h"
#include "scenario/scripted_view.h"
#include "scenario/transcript.h"

namespace fs = std::filesystem;

namespace {

struct RunResult {
  bool ok = false;
  ScriptError error;
  std::vector<std::string> lines;
  bool Has(const std::string& line) const {
    for (const std::string& l : lines) {
      if (l == line) return true;
    }
    return false;
  }
};

RunResult RunScript(const std::string& script) {
  RunResult result;
  std::vector<ScenarioCommand> commands;
  if (!ParseScenarioScript(script, &commands, &result.error)) {
    ADD_FAILURE() << "line " << result.error.line << ": " << result.error.reason;
    return result;
  }
  Transcript transcript;
  {
    ScenarioRunner runner({DUPLEX_LAB_DIR, DUPLEX_LAB_DIR, {}, {}, {}}, transcript);
    result.ok = runner.Run(commands, &result.error);
  }
  result.lines = transcript.Lines();
  return result;
}

}  // namespace

TEST(ScenarioScript, MalformedLinesAreNamedWithTheirLineAndReason) {
  struct Case {
    const char* script;
    int line;
    const char* reason;
  };
  const Case cases[] = {
      {"lab demo\nstart\npress stepp\n", 3, "no button \"stepp\""},
      {"# comment\n\n  stop\n", 3, "unknown command \"stop\""},
      {"type hostname x\n", 1, "no entry \"hostname\""},
      {"answer maybe\n", 1, "answer needs yes or no"},
      {"start now\n", 1, "unexpected text after the command"},
      {"lab\n", 1, "lab needs demo, bundled NAME or a folder"},
      {"lab bundled\n", 1, "lab bundled needs a lab's name"},
      {"file Zandor\\x.txt text\n", 1, "\"Zandor\\x.txt\" is not a Windows path such as D:\\folder\\file"},
      {"file D:\\x.txt a\\qb\n", 1, "unknown escape in the file's text (\\r, \\n, \\t and \\\\ are known)"},
      {"remove-file \"D:\\Program Files\n", 1, "a quote is not closed"},
      {"choose colour red\n", 1, "only boards can be chosen"},
      {"show everything\n", 1, "show needs list, buttons, entries or file"},
      {"fault disk-full 7\n", 1, "fault disk-full needs drive letters, as in \"fault disk-full D\""},
      {"fault node-b slow = yes\n", 1, "fault node-b: unknown key \"slow\""},
      {"fault node-b unreachable = perhaps\n", 1, "fault node-b: unreachable must be yes or no"},
      {"file D:\\..\\x.txt text\n", 1,
       "\"D:\\..\\x.txt\" leaves the lab's drives: a name of dots only, such as \"..\", is refused"},
      {"remove-folder D:\\Zandor/../..\n", 1,
       "\"D:\\Zandor/../..\" leaves the lab's drives: a name of dots only, such as \"..\", is refused"},
      {"remove-file \"D:\\Zandor\\. .\\x.dat\"\n", 1,
       "\"D:\\Zandor\\. .\\x.dat\" leaves the lab's drives: a name of dots only, such as \"..\", is refused"},
      {"show file D:\\...\\lab.conf\n", 1,
       "\"D:\\...\\lab.conf\" leaves the lab's drives: a name of dots only, such as \"..\", is refused"},
      {"file D:\\Zandor\\C:\\x.txt text\n", 1,
       "\"D:\\Zandor\\C:\\x.txt\" leaves the lab's drives: ':' belongs only after the drive letter"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    std::vector<ScenarioCommand> commands;
    ScriptError error;
    EXPECT_FALSE(ParseScenarioScript(c.script, &commands, &error));
    EXPECT_EQ(error.line, c.line);
    EXPECT_EQ(error.reason, c.reason);
  }
}

TEST(ScenarioScript, ArgumentsKeepWhatTheUserTypesAndUnescapeFiles) {
  const std::string script =
      "  # indented comment\r\n"
      "type user  two  blanks \r\n"
      "type node2\r\n"
      "file \"D:\\Program Files\\a b.txt\" 0\\r\\nC:\\\\x\\t\r\n"
      "file D:\\empty.txt\r\n"
      "fault node-b  service-timeout =  EMC AutoStart Mirror Service \r\n"
      "fault disk-full D E\r\n"
      "choose boards none\r\n";
  std::vector<ScenarioCommand> commands;
  ScriptError error;
  ASSERT_TRUE(ParseScenarioScript(script, &commands, &error)) << error.reason;
  ASSERT_EQ(commands.size(), 7u);
  EXPECT_EQ(commands[0].line, 2);
  EXPECT_EQ(commands[0].args, (std::vector<std::string>{"user", " two  blanks "}));
  EXPECT_EQ(commands[0].source, "type user  two  blanks ") << "the CR of the line end is dropped";
  EXPECT_EQ(commands[1].args, (std::vector<std::string>{"node2", ""}));
  EXPECT_EQ(commands[2].args, (std::vector<std::string>{"D:\\Program Files\\a b.txt", "0\r\nC:\\x\t"}));
  EXPECT_EQ(commands[3].args, (std::vector<std::string>{"D:\\empty.txt", ""}));
  EXPECT_EQ(commands[4].args, (std::vector<std::string>{"node-b", "service-timeout", "EMC AutoStart Mirror Service"}));
  EXPECT_EQ(commands[5].args, (std::vector<std::string>{"", "disk-full", "D E"}));
  EXPECT_EQ(commands[6].args, (std::vector<std::string>{""}));
}

TEST(ScriptedView, TypingFollowsTheEntryStylesButTheProgramsTextIsKept) {
  Transcript transcript;
  std::deque<bool> answers;
  ScriptedView view(transcript, answers);
  view.Type(*FindEntryControl("managed-host"), L"HA-Managed");
  view.Type(*FindEntryControl("managed-clan-ip"), L"10.1.1.X");
  EXPECT_EQ(view.EntryText(IDC_MANAGED_HOST_NAME), L"ha-managed");
  EXPECT_EQ(view.EntryText(IDC_MANAGED_CLAN_IP), L"10.1.1.X");

  // As an edit control's limit: typing stops at it, text the program sets is not cut.
  view.SetEntryText(IDC_AUTOSTART_DOMAIN, L"ha123456789");
  view.SetEntryLimit(IDC_AUTOSTART_DOMAIN, 8);
  EXPECT_EQ(view.EntryText(IDC_AUTOSTART_DOMAIN), L"ha123456789");
  view.Type(*FindEntryControl("autostart-domain"), L"HA123456789");
  EXPECT_EQ(view.EntryText(IDC_AUTOSTART_DOMAIN), L"HA123456");
}

TEST(ScriptedView, BoxesUseTheProgramTitleForAnEmptyCaptionAndShowLineEnds) {
  Transcript transcript;
  std::deque<bool> answers = {true};
  ScriptedView view(transcript, answers);
  view.ShowMessage(L"one\r\ntwo\tthree", L"");
  EXPECT_TRUE(view.AskYesNo(L"Sure?", L"Confirm", Answer::Yes));
  EXPECT_FALSE(view.AskYesNo(L"Again?", L"Confirm", Answer::Yes));
  EXPECT_TRUE(view.MissedAnswer());
  EXPECT_EQ(transcript.Lines(), (std::vector<std::string>{"box [DuplexSetupAssistant]: one\\r\\ntwo\\tthree",
                                                          "question [Confirm]: Sure? -> yes",
                                                          "question [Confirm]: Again? -> (no answer given)"}));
}

TEST(ScenarioRunner, CommandsThatCantBeCarriedOutStopTheRunAtTheirLine) {
  struct Case {
    const char* what;
    const char* script;
    int line;
    const char* reason;
  };
  const Case cases[] = {
      {"no lab", "start\n", 1, "no lab yet: a lab command comes first"},
      {"no window", "lab demo\ntype user admin\n", 2, "no window is open: start opens one"},
      {"the window closed itself", "lab demo\nstart\npress cancel\npress step1\n", 4,
       "no window is open: start opens one"},
      {"a question without its answer", "lab demo\nstart\npress reset\n", 3,
       "a question came with no answer queued: put \"answer yes\" or \"answer no\" before this command"},
      {"an answer nobody asked for", "lab demo\nstart\nanswer yes\nshow buttons\n", 4,
       "the answer of line 3 was not asked for"},
      {"an answer left at the end", "lab demo\nstart\nanswer no\n", 3, "this answer was not asked for"},
      {"a lab changed under the window", "lab demo\nstart\nlab demo\n", 3,
       "the lab can't change while the window is open"},
      {"a second start", "lab demo\nstart\nstart\n", 3,
       "the window is already open: restart ends this run and starts the next"},
      {"a file that isn't there", "lab demo\nremove-file D:\\nothing.dat\n", 2, "there is no file D:\\nothing.dat"},
      {"a server that isn't there", "lab demo\nfault node-z unreachable = yes\n", 2, "the lab has no server node-z"},
      {"a repeated single fault", "lab demo\nfault node-b unreachable = yes\nfault node-b unreachable = no\n", 3,
       "servers/node-b/faults.conf:2: unreachable is given twice"},
      {"an item not in the list", "lab demo\nstart\nchoose boards 2\n", 3, "no item \"2\" in the board count list"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const RunResult result = RunScript(c.script);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error.line, c.line);
    EXPECT_EQ(result.error.reason, c.reason);
  }
}

TEST(ScenarioRunner, ADisabledButtonRunsNothing) {
  const RunResult result = RunScript("lab demo\nstart\npress step2\n");
  ASSERT_TRUE(result.ok) << result.error.reason;
  const std::vector<std::string> tail(result.lines.end() - 5, result.lines.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"> press step2", "step2 is disabled", "window closed: Cancel",
                                            "log info: Exiting the Duplex Setup Wizard",
                                            "log info: " + std::string(70, '=')}));
}

TEST(ScenarioRunner, FaultsAndFilesLastThroughRestartsButNeverReachTheNamedLab) {
  const fs::path bundledDefaults =
      fs::path(DUPLEX_LAB_DIR) / "demo/drives/D/Zandor/HA/ToolkitInstaller2.0/HADefaults.dat";
  const RunResult result = RunScript(
      "lab demo\n"
      "file D:\\Zandor\\HA\\ToolkitInstaller2.0\\HADefaults.dat 0\\r\\nha-managed\\r\\n10.1.1.5\\r\\n10.2.2.5\\r\\n"
      "node-a\\r\\nnode-b\\r\\nadmin\\r\\nworkgroup\\r\\n1\\r\\nha1\\r\\n10.1.1.1\\r\\n\n"
      "fault node-b unreachable = yes\n"
      "start\n"
      "restart\n"
      "press step1\n");
  ASSERT_TRUE(result.ok) << result.error.reason;
  EXPECT_TRUE(result.Has("box [Error]: Unable to connect to the registry on server node-b."));
  EXPECT_FALSE(fs::exists(bundledDefaults)) << "the runs write into a copy of the lab";
  EXPECT_FALSE(fs::exists(fs::path(DUPLEX_LAB_DIR) / "demo/servers/node-b/faults.conf"));
}

// The runner checks where a path leads whatever made the command, not only what the script reader lets through.
TEST(ScenarioRunner, DriveCommandsNeverLeaveTheLabsCopy) {
  // Entries of this test's own in the folder that holds the lab's copy, four levels above its drive D:.
  const fs::path outside = fs::temp_directory_path();
  const std::string tag = "duplex-outside-" + std::to_string(std::random_device()());
  const std::string up = "D:\\..\\..\\..\\..\\";
  std::ofstream(outside / (tag + ".txt")) << "not the lab's";
  fs::create_directory(outside / tag);
  struct Case {
    ScenarioVerb verb;
    std::vector<std::string> args;
  };
  const Case cases[] = {
      {ScenarioVerb::File, {up + tag + "-new.txt", "text"}},
      {ScenarioVerb::RemoveFile, {up + tag + ".txt"}},
      {ScenarioVerb::RemoveFolder, {up + tag}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0]);
    std::vector<ScenarioCommand> commands;
    ScriptError error;
    ASSERT_TRUE(ParseScenarioScript("lab demo\n", &commands, &error));
    commands.push_back({2, "made by hand", c.verb, c.args});
    Transcript transcript;
    ScenarioRunner runner({DUPLEX_LAB_DIR, DUPLEX_LAB_DIR, {}, {}, {}}, transcript);
    EXPECT_FALSE(runner.Run(commands, &error));
    EXPECT_EQ(error.line, 2);
    EXPECT_EQ(error.reason, "\"" + c.args[0] + "\" leaves the lab's drives");
  }
  std::error_code ignored;
  EXPECT_FALSE(fs::exists(outside / (tag + "-new.txt")));
  EXPECT_TRUE(fs::exists(outside / (tag + ".txt")));
  EXPECT_TRUE(fs::is_directory(outside / tag));
  fs::remove(outside / (tag + "-new.txt"), ignored);
  fs::remove(outside / (tag + ".txt"), ignored);
  fs::remove(outside / tag, ignored);
}

// A lab is data: the copy never follows a link (one to / walked the whole file system) and refuses the lab.
TEST(ScenarioRunner, ALabHoldingALinkIsRefusedAndTheLinkNeverFollowed) {
  const fs::path folder = fs::temp_directory_path() / ("duplex-linked-" + std::to_string(std::random_device()()));
  fs::create_directories(folder);
  std::string error;
  ASSERT_TRUE(CopyLabFolder(fs::path(DUPLEX_LAB_DIR) / "demo", folder / "linked", &error)) << error;
  fs::create_directories(folder / "elsewhere");
  std::ofstream(folder / "elsewhere" / "not-the-labs.txt") << "outside";
  const fs::path link = folder / "linked" / "drives" / "E" / "Zandor" / "HA" / "out";
  fs::create_directory_symlink(folder / "elsewhere", link);
  fs::create_directories(folder / "scratch");

  std::vector<ScenarioCommand> commands;
  ScriptError scriptError;
  ASSERT_TRUE(ParseScenarioScript("lab linked\nstart\n", &commands, &scriptError));
  Transcript transcript;
  {
    ScenarioRunner runner({folder, DUPLEX_LAB_DIR, {}, {}, folder / "scratch"}, transcript);
    EXPECT_FALSE(runner.Run(commands, &scriptError));
  }
  EXPECT_EQ(scriptError.line, 1);
  EXPECT_NE(scriptError.reason.find(link.string() + " is a symbolic link or a junction"), std::string::npos)
      << scriptError.reason;
  EXPECT_TRUE(fs::is_empty(folder / "scratch")) << "the partial copy is gone";
  std::error_code ignored;
  fs::remove_all(folder, ignored);
}

// Stopped while a server answers slowly, the runner removes its copy of the lab, then ends as the signal would.
TEST(ScenarioRunnerStopped, RemovesItsCopyOfTheLab) {
  for (const int stop : {SIGTERM, SIGINT}) {
    SCOPED_TRACE(stop);
    const fs::path temp = fs::temp_directory_path() / ("duplex-stopped-" + std::to_string(std::random_device()()));
    fs::create_directories(temp / "tmp");
    std::ofstream(temp / "slow.scenario")
        << "lab demo\n"
           "file D:\\Zandor\\HA\\ToolkitInstaller2.0\\HADefaults.dat 0\\r\\nha-managed\\r\\n10.1.1.5\\r\\n"
           "10.2.2.5\\r\\nnode-a\\r\\nnode-b\\r\\nadmin\\r\\nworkgroup\\r\\n1\\r\\nha1\\r\\n10.1.1.1\\r\\n\n"
           "fault node-b latency-ms = 60000\n"
           "start\n"
           "press step1\n";
    const std::string program = DUPLEX_SCENARIO_PATH;
    const std::string script = (temp / "slow.scenario").string();
    const std::string labs = DUPLEX_LAB_DIR;
    const std::string tmpdir = "TMPDIR=" + (temp / "tmp").string();
    std::vector<char*> argv = {const_cast<char*>(program.c_str()), const_cast<char*>(script.c_str()),
                               const_cast<char*>("--labs"), const_cast<char*>(labs.c_str()), nullptr};
    std::vector<char*> envp = {const_cast<char*>(tmpdir.c_str()), nullptr};
    pid_t child = 0;
    ASSERT_EQ(posix_spawn(&child, program.c_str(), nullptr, nullptr, argv.data(), envp.data()), 0);

    // Once the fault is in the copy, the copy is whole and the run is on its way to the slow server.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    bool copied = false;
    while (!copied && std::chrono::steady_clock::now() < deadline) {
      std::error_code error;
      for (const auto& entry : fs::recursive_directory_iterator(temp / "tmp", error)) {
        if (entry.path().filename() == "faults.conf") copied = true;
      }
      // A real process is waited for here: no clock of the test's own can move it on.
      if (!copied) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_TRUE(copied);
    kill(child, stop);
    int status = 0;
    bool ended = false;
    while (!ended && std::chrono::steady_clock::now() < deadline) {
      ended = waitpid(child, &status, WNOHANG) == child;
      if (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!ended) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
    }
    EXPECT_TRUE(ended);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == stop) << status;
    EXPECT_TRUE(fs::is_empty(temp / "tmp")) << "the copy of the lab is left behind";
    std::error_code ignored;
    fs::remove_all(temp, ignored);
  }
}

TEST(Transcript, FirstDifferenceNamesTheLineAndBothSides) {
  const std::vector<std::string> expected = {"a", "b", "c"};
  EXPECT_EQ(FirstDifference(expected, {"a", "b", "c"}), "");
  EXPECT_EQ(FirstDifference(expected, {"a", "x", "c"}), "line 2 differs\n  expected: b\n  actual:   x");
  EXPECT_EQ(FirstDifference(expected, {"a", "b"}), "line 3 differs\n  expected: c\n  actual:   (end of output)");
  EXPECT_EQ(FirstDifference(expected, {"a", "b", "c", "d"}),
            "line 4 differs\n  expected: (end of output)\n  actual:   d");
  // An expected file checked out with CR LF line ends reads the same.
  EXPECT_EQ(SplitTranscript("a\r\nb\nc\r\n"), expected);
}
