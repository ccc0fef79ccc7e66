// Reading a command line as "cmd /c" reads it: the program, its words and its standard input.
#pragma once

#include <functional>
#include <string>
#include <vector>

// What cmd runs: quotes are removed from every word; nothing is looked up on a disk.
struct CmdCommand {
  std::wstring program;                 // the first word; empty when the command has none
  std::vector<std::wstring> arguments;  // the words after it
  bool hasStandardInput = false;
  std::wstring standardInput;  // the word after an unquoted '<', as Windows path text
};

enum class CmdLineKind {
  Command,  // cmd /c with a command the lab can run
  NotCmd,   // the program started is not cmd at all
  Refused,  // cmd itself starts, but ends at once with `message` on its console
};

struct CmdLineReading {
  CmdLineKind kind = CmdLineKind::NotCmd;
  CmdCommand command;   // when kind is Command
  std::string message;  // when Refused: the console's text, one line without its line end
};

// Whether the text between a pair of quotes names an executable file: the one question cmd asks
// the disk while reading its line, left to the caller so that reading stays free of any disk.
using NamesExecutable = std::function<bool(const std::wstring& text)>;

// Reads `commandLine` (a whole CreateProcessW command line) as cmd.exe reads "cmd /c COMMAND":
// the quotes of COMMAND are kept only when there are exactly two, with whitespace and none of
// &<>()@^| between them, around text that names an executable; otherwise a leading quote is
// removed with the last quote of the line. Each remaining quote then toggles quoting (an unclosed
// one runs to the end), and an unquoted '<' takes the next word as standard input. Output
// redirection, pipes, command chaining and the '^' escape are beyond the lab: refused.
CmdLineReading ReadCmdLine(const std::wstring& commandLine, const NamesExecutable& namesExecutable);
