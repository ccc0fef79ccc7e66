// capture: the servers and this computer's answers written as a lab folder, for rehearsing the site's pair elsewhere.
#pragma once

#include "cli/cli_context.h"

class CliOutput;
struct CommandLine;

// Writes the folder (new, or empty) and returns the exit code: 0 when every server was read and
// every file written; 3 when a server could not be read (the others are written); 7 when a file
// could not be written; 4 when the folder is not new or empty.
int RunCapture(const CommandLine& command, CliContext& context, CliOutput& output);
