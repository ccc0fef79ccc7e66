// summarize: every readiness report under some folders in one table, worst first, as HTML and CSV.
#pragma once

#include "cli/cli_context.h"

class CliOutput;
struct CommandLine;

// Reads each *.json file under the folders (of this computer, their subfolders too, never through a
// symbolic link), writes fleet-summary-YYYYMMDD-HHMMSS.html and .csv into the first folder or the
// `out` folder, each a new file, and returns the exit code: the worst report's (0, 1, 2), or 3
// when one could not be read or is no readiness report, or when none was found.
int RunSummarize(const CommandLine& command, CliContext& context, CliOutput& output);
