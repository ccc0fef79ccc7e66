// check: the entry rules, both servers, Step 2's comparison and the readiness checks, without a window.
#pragma once

#include "cli/cli_context.h"

class CliOutput;
struct CommandLine;

// Writes neither the defaults file nor the installer's files. Returns the exit code.
int RunCheck(const CommandLine& command, CliContext& context, CliOutput& output);
