// The program run without a window: the command its words name, run to its exit code.
#pragma once

#include <string>
#include <vector>

#include "cli/cli_context.h"

// Runs the command the words after the program's name ask for (there is at least one), between
// the install log's banners, and returns the exit code (cli/exit_codes.h).
int RunCommandLine(const std::vector<std::wstring>& words, CliContext& context);
