// generate: Step 3 without a window, from the answers of a finished stage 1.
#pragma once

#include "cli/cli_context.h"

class CliOutput;
struct CommandLine;

// The same checks, files, installer run and confirmation as Step 3. Returns the exit code.
int RunGenerate(const CommandLine& command, CliContext& context, CliOutput& output);
