// The Windows programs run with a command: the backend chosen as the window's is, the log, the console.
#pragma once

#include <string>
#include <vector>

// The words after the program's name on its command line, as the C runtime splits them.
std::vector<std::wstring> CommandLineWords();

// Runs the command `words` name against Windows itself, or against the lab DUPLEX_SETUP_LAB names,
// writing to the standard output and error the program has; returns the exit code.
int RunWin32CommandLine(const std::vector<std::wstring>& words);
