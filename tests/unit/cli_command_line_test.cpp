// The command line: every spelling of the commands and options, and each way it can be wrong.
#include <gtest/gtest.h>

#include <algorithm>
#include <ios>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/console.h"
#include "cli/exit_codes.h"
#include "cli/run_command_line.h"
#include "common/text_encoding.h"
#include "support/recording_view.h"

namespace {
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}
}  // namespace

TEST(CommandLine, ReadsEverySpellingOfCommandsAndOptions) {
  struct Case {
    const char* what;
    std::vector<std::wstring> words;
    CommandKind kind;
    std::wstring answers;
    std::wstring report;
    bool force;
    std::wstring folder;
    std::vector<std::wstring> nodes;
    bool noProbes = false;
  };
  const Case cases[] = {
      {"bare word", {L"check"}, CommandKind::Check, L"", L"", false, L"", {}},
      {"check without probes", {L"check", L"no-probes"}, CommandKind::Check, L"", L"", false, L"", {}, true},
      {"no-probes in capitals among options",
       {L"--check", L"/report", L"r", L"/NO-PROBES"},
       CommandKind::Check,
       L"",
       L"r",
       false,
       L"",
       {},
       true},
      {"no-probes with a double dash", {L"check", L"--No-Probes"}, CommandKind::Check, L"", L"", false, L"", {}, true},
      {"Windows switch in capitals", {L"/CHECK"}, CommandKind::Check, L"", L"", false, L"", {}},
      {"double dash", {L"--check", L"--answers", L"a.dat"}, CommandKind::Check, L"a.dat", L"", false, L"", {}},
      {"options in any order and spelling",
       {L"check", L"/report", L"C:\\reports", L"answers", L"/answers.dat"},
       CommandKind::Check,
       L"/answers.dat",
       L"C:\\reports",
       false,
       L"",
       {}},
      {"generate with force", {L"generate", L"--force"}, CommandKind::Generate, L"", L"", true, L"", {}},
      {"generate with answers",
       {L"/generate", L"answers", L"x.dat"},
       CommandKind::Generate,
       L"x.dat",
       L"",
       false,
       L"",
       {}},
      {"capture to a Linux path", {L"capture", L"/tmp/site"}, CommandKind::Capture, L"", L"", false, L"/tmp/site", {}},
      {"capture with nodes before the folder",
       {L"--capture", L"/nodes", L"node-a,NODE-B", L"D:\\capture"},
       CommandKind::Capture,
       L"",
       L"",
       false,
       L"D:\\capture",
       {L"node-a", L"NODE-B"}},
      {"help", {L"help"}, CommandKind::Help, L"", L"", false, L"", {}},
      {"Windows question mark", {L"/?"}, CommandKind::Help, L"", L"", false, L"", {}},
      {"dash question mark", {L"-?"}, CommandKind::Help, L"", L"", false, L"", {}},
      {"double-dash help", {L"--HELP"}, CommandKind::Help, L"", L"", false, L"", {}},
      {"version", {L"version"}, CommandKind::Version, L"", L"", false, L"", {}},
      {"Windows switch version", {L"/Version"}, CommandKind::Version, L"", L"", false, L"", {}},
      {"double-dash version", {L"--VERSION"}, CommandKind::Version, L"", L"", false, L"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CommandLine command;
    std::wstring error;
    ASSERT_TRUE(ParseCommandLine(c.words, &command, &error)) << Utf8FromWide(error);
    EXPECT_EQ(command.kind, c.kind);
    EXPECT_EQ(command.answersFile, c.answers);
    EXPECT_EQ(command.reportFolder, c.report);
    EXPECT_EQ(command.force, c.force);
    EXPECT_EQ(command.captureFolder, c.folder);
    EXPECT_EQ(command.nodes, c.nodes);
    EXPECT_EQ(command.noProbes, c.noProbes);
  }
}

TEST(CommandLine, UsageErrorsNameTheWordAtFault) {
  struct Case {
    const char* what;
    std::vector<std::wstring> words;
    std::wstring error;
  };
  const Case cases[] = {
      {"unknown command", {L"chek"}, L"Unknown command \"chek\"."},
      {"a single dash is no switch", {L"-check"}, L"Unknown command \"-check\"."},
      {"option of another command", {L"check", L"force"}, L"\"force\" is not an option of check."},
      {"report belongs to check", {L"generate", L"/report", L"x"}, L"\"/report\" is not an option of generate."},
      {"no-probes belongs to check", {L"generate", L"no-probes"}, L"\"no-probes\" is not an option of generate."},
      {"no-probes twice", {L"check", L"no-probes", L"/no-probes"}, L"The option no-probes is given twice."},
      {"option without its value", {L"check", L"answers"}, L"The option answers needs a value after it."},
      {"option twice", {L"check", L"answers", L"a", L"--answers", L"b"}, L"The option answers is given twice."},
      {"empty node name",
       {L"capture", L"x", L"nodes", L"a,,b"},
       L"The option nodes takes host names separated by commas, not \"a,,b\"."},
      {"capture without folder", {L"capture", L"nodes", L"a"}, L"capture needs the folder to write."},
      {"a second folder", {L"capture", L"x", L"y"}, L"\"y\" is not an option of capture."},
      {"an unknown switch is no folder", {L"capture", L"--out", L"x"}, L"\"--out\" is not an option of capture."},
      {"help takes nothing", {L"help", L"check"}, L"\"check\" is not an option of help."},
      {"version takes nothing", {L"--version", L"--help"}, L"\"--help\" is not an option of version."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CommandLine command;
    std::wstring error;
    EXPECT_FALSE(ParseCommandLine(c.words, &command, &error));
    EXPECT_EQ(error, c.error);
  }
}

// Help, version and a usage error need no servers: every line a person reads is also in the install log.
TEST(CommandLine, HelpVersionAndUsageErrorsPrintAndLogEachLine) {
  struct Case {
    const char* what;
    std::vector<std::wstring> words;
    int exitCode;
    bool toError;
    std::string firstLine;
  };
  const Case cases[] = {
      {"help", {L"help"}, exitcode::Clean, false, "Usage:"},
      // The version the build declares (CMakeLists.txt), and the edition this test is built for.
      {"version",
       {L"/version"},
       exitcode::Clean,
       false,
       "DuplexSetupAssistant " DUPLEX_EXPECTED_VERSION " (" DUPLEX_EXPECTED_EDITION " edition)"},
      {"usage error", {L"check", L"--bogus"}, exitcode::Usage, true, "\"--bogus\" is not an option of check."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::ostringstream out;
    std::ostringstream err;
    StreamConsole console(out, err, false);
    RecordingLog log;
    CliContext context;
    context.log = &log;
    context.console = &console;
    context.platformProblem = L"no platform in this test";
    EXPECT_EQ(RunCommandLine(c.words, context), c.exitCode);
    const std::vector<std::string> printed = Lines(c.toError ? err.str() : out.str());
    EXPECT_EQ((c.toError ? out : err).str(), "");
    ASSERT_FALSE(printed.empty());
    EXPECT_EQ(printed.front(), c.firstLine);
    std::vector<std::string> logged;
    for (const std::wstring& message : log.Messages()) logged.push_back(Utf8FromWide(message));
    for (const std::string& line : printed) {
      EXPECT_NE(std::find(logged.begin(), logged.end(), line), logged.end()) << line;
    }
  }
}

// Whatever escapes a command (here a console whose standard output throws, as a stream set to throw would) becomes
// a message on standard error and in the log, and an exit code of its own: never an abort, never 3.
TEST(CommandLine, AnUnexpectedErrorHasItsOwnExitCode) {
  class ThrowingConsole : public Console {
   public:
    void WriteOut(const std::wstring& /*line*/) override { throw std::ios_base::failure("standard output failed"); }
    void WriteErr(const std::wstring& line) override { err.push_back(Utf8FromWide(line)); }
    bool ErrIsTerminal() const override { return false; }
    std::vector<std::string> err;
  };
  ThrowingConsole console;
  RecordingLog log;
  CliContext context;
  context.log = &log;
  context.console = &console;
  EXPECT_EQ(RunCommandLine({L"help"}, context), exitcode::Unexpected);
  ASSERT_EQ(console.err.size(), 1u);
  EXPECT_EQ(console.err[0].rfind("The command stopped on an unexpected error: standard output failed", 0), 0u)
      << console.err[0];
  const std::vector<std::wstring> logged = log.Messages();
  EXPECT_NE(std::find(logged.begin(), logged.end(), L"Exit code 11."), logged.end());
}
