// The program's command line: which command was asked for, with which options, or why it can't be read.
#pragma once

#include <string>
#include <vector>

// `version` prints VersionLine() (common/program_info.h).
enum class CommandKind { Help, Version, Check, Generate, Capture, Summarize };

struct CommandLine {
  CommandKind kind = CommandKind::Help;
  std::wstring answersFile;         // check, generate: the entries' file instead of the defaults file
  std::wstring reportFolder;        // check: where the readiness report goes instead of its usual place
  bool force = false;               // generate: go on past FAIL findings
  bool noProbes = false;            // check: no live link probes (R19 says so)
  std::wstring captureFolder;       // capture: the lab folder to write
  std::vector<std::wstring> nodes;  // capture: the servers to read; empty for the defaults

  std::vector<std::wstring> folders;  // summarize: the folders whose reports are read
  std::wstring outFolder;             // summarize: where the summary goes instead of the first folder
};

// Reads the words after the program's name (there is at least one: without any, the window opens).
// A command or option word may be written `word`, `/word` or `--word`, in any letter case; a value
// (FILE, FOLDER, NAME,NAME) is the next word, taken as it is. False with `error` set, naming the
// word at fault, for a usage error.
bool ParseCommandLine(const std::vector<std::wstring>& words, CommandLine* command, std::wstring* error);

// What `help` prints: each command, its options and the exit codes, one line per element.
std::vector<std::wstring> UsageLines();
