// Reading "cmd /c" command lines as cmd.exe does: its quote rules, '<' and what the lab refuses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/text_encoding.h"
#include "platform/lab/cmd_line.h"

namespace {

const NamesExecutable kNothingIsExecutable = [](const std::wstring&) { return false; };

struct CommandCase {
  const char* what;
  const wchar_t* line;
  const wchar_t* program;
  std::vector<std::wstring> arguments;
  const wchar_t* input;  // null: no standard input
};

}  // namespace

TEST(ReadCmdLine, FindsTheProgramItsWordsAndItsInput) {
  const CommandCase cases[] = {
      {"the single-board installer: the outer quotes go, the input path keeps none",
       L"cmd /c \"\"D:\\Program Files\\EMC AutoStart\\ha1\\bin\\ftPerl\" install.pl Vestamail-Mirroring-Single ha1 "
       L"\"D:\\Program Files\\EMC AutoStart\" < \"D:\\Zandor\\HA\\ToolkitInstaller2.0\\values.dat\" \"",
       L"D:\\Program Files\\EMC AutoStart\\ha1\\bin\\ftPerl",
       {L"install.pl", L"Vestamail-Mirroring-Single", L"ha1", L"D:\\Program Files\\EMC AutoStart"},
       L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\values.dat"},
      {"the three-board installer: the quote closing the input path is the one removed",
       L"cmd /c \"\"D:\\Program Files\\EMC AutoStart\\ha1\\bin\\ftPerl\" install.pl Vestamail-Mirroring ha1 "
       L"\"D:\\Program Files\\EMC AutoStart\" < \"D:\\Zandor\\HA\\ToolkitInstaller2.0\\values.dat\" ",
       L"D:\\Program Files\\EMC AutoStart\\ha1\\bin\\ftPerl",
       {L"install.pl", L"Vestamail-Mirroring", L"ha1", L"D:\\Program Files\\EMC AutoStart"},
       L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\values.dat "},
      {"an unclosed quote runs to the end of the line", L"cmd /c prog  a \"b  c", L"prog", {L"a", L"b  c"}, nullptr},
      {"'<' and '>' in quotes are text; '<' needs no blanks around it",
       L"cmd /c prog \"a<b\" \"c>d\"<in.txt",
       L"prog",
       {L"a<b", L"c>d"},
       L"in.txt"},
      {"an empty quoted word is an argument", L"cmd /c prog \"\" x", L"prog", {L"", L"x"}, nullptr},
      {"the later of two inputs", L"cmd /c prog <a.txt < b.txt", L"prog", {}, L"b.txt"},
      {"cmd in any case, quoted or with its extension, and /C", L"\"CMD.exe\"  /C  prog x", L"prog", {L"x"}, nullptr},
      {"two quotes around no blank are stripped without asking the disk",
       L"cmd /c \"D:\\tool.exe\" x",
       L"D:\\tool.exe",
       {L"x"},
       nullptr},
      {"two quotes around a special character are stripped without asking the disk",
       L"cmd /c \"D:\\x (1)\\tool.exe\"",
       L"D:\\x",
       {L"(1)\\tool.exe"},
       nullptr},
      {"nothing after /c", L"cmd /c   ", L"", {}, nullptr},
  };
  for (const CommandCase& c : cases) {
    SCOPED_TRACE(c.what);
    int asked = 0;
    const CmdLineReading reading = ReadCmdLine(c.line, [&](const std::wstring&) {
      ++asked;
      return false;
    });
    ASSERT_EQ(reading.kind, CmdLineKind::Command) << reading.message;
    EXPECT_EQ(reading.command.program, c.program);
    EXPECT_EQ(reading.command.arguments, c.arguments);
    EXPECT_EQ(reading.command.hasStandardInput, c.input != nullptr);
    EXPECT_EQ(reading.command.standardInput, c.input != nullptr ? c.input : L"");
    EXPECT_EQ(asked, 0) << "only two quotes around blanks and no special character make cmd look";
  }
}

TEST(ReadCmdLine, KeepsTheQuotesOfALoneQuotedExecutableOnly) {
  const std::wstring line = L"cmd /c \"D:\\My Tools\\run it.exe\"";
  std::vector<std::wstring> asked;
  const CmdLineReading kept = ReadCmdLine(line, [&](const std::wstring& text) {
    asked.push_back(text);
    return true;
  });
  EXPECT_EQ(asked, std::vector<std::wstring>{L"D:\\My Tools\\run it.exe"});
  ASSERT_EQ(kept.kind, CmdLineKind::Command);
  EXPECT_EQ(kept.command.program, L"D:\\My Tools\\run it.exe");
  EXPECT_TRUE(kept.command.arguments.empty());

  // Not an executable: the quotes go, and the blanks split the name.
  const CmdLineReading stripped = ReadCmdLine(line, kNothingIsExecutable);
  ASSERT_EQ(stripped.kind, CmdLineKind::Command);
  EXPECT_EQ(stripped.command.program, L"D:\\My");
  EXPECT_EQ(stripped.command.arguments, (std::vector<std::wstring>{L"Tools\\run", L"it.exe"}));
}

TEST(ReadCmdLine, RefusesWhatTheLabDoesNotRunAndTellsOtherProgramsApart) {
  struct Case {
    const wchar_t* line;
    CmdLineKind kind;
    const char* message;  // a part of it
  };
  const Case cases[] = {
      {L"cmd /c prog > out.txt", CmdLineKind::Refused, "\">\" is beyond it"},
      {L"cmd /c prog 2>nul", CmdLineKind::Refused, "\">\" is beyond it"},
      {L"cmd /c prog | more", CmdLineKind::Refused, "\"|\" is beyond it"},
      {L"cmd /c prog & other", CmdLineKind::Refused, "\"&\" is beyond it"},
      {L"cmd /c prog ^< x", CmdLineKind::Refused, "\"^\" is beyond it"},
      {L"cmd /c prog <", CmdLineKind::Refused, "The syntax of the command is incorrect."},
      {L"cmd /c prog < < x", CmdLineKind::Refused, "The syntax of the command is incorrect."},
      {L"cmd /k prog", CmdLineKind::Refused, "not \"cmd /k\""},
      {L"cmd", CmdLineKind::Refused, "not cmd on its own"},
      {L"perl.exe /c prog", CmdLineKind::NotCmd, ""},
      {L"cmd.com /c prog", CmdLineKind::NotCmd, ""},
      {L"\"C:\\Windows\\System32\\cmd.exe\" /c prog", CmdLineKind::NotCmd, ""},
      {L"", CmdLineKind::NotCmd, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8FromWide(c.line));
    const CmdLineReading reading = ReadCmdLine(c.line, kNothingIsExecutable);
    EXPECT_EQ(reading.kind, c.kind);
    EXPECT_NE(reading.message.find(c.message), std::string::npos) << reading.message;
  }
}
