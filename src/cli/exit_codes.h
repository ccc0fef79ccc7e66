// The exit codes of the commands, which scripts test: documented in docs/unattended.md, never renumbered.
#pragma once

namespace exitcode {
constexpr int Clean = 0;        // check: no finding above INFO; generate: the definition file confirmed; capture: done
constexpr int Warn = 1;         // check: a WARN finding, nothing worse
constexpr int Fail = 2;         // check, generate: a FAIL finding or a Step 2 validation error
constexpr int NotGathered = 3;  // an entry rule failed, or a server could not be read (summarize: a report)
constexpr int Usage = 4;        // the command line can't be read, or a file it names can't be used
// generate only, each a way Step 3 stops after the checks passed (capture: FileNotWritten too).
constexpr int NotStage2 = 5;        // the answers are not those of a finished stage 1
constexpr int ProductMissing = 6;   // the product is not installed for the AutoStart domain
constexpr int FileNotWritten = 7;   // an input file of the installer (capture: a file of the folder; summarize:
                                    // the summary) was not written
constexpr int InstallerNotRun = 8;  // the board count is neither 1 nor 3, or the installer could not be started
constexpr int NotConfirmed = 9;     // the installer ran, but its definition file could not be confirmed
// check, generate: the readiness report could not be saved (a FAIL, and generate's own stops, come first).
constexpr int ReportNotSaved = 10;
// Any command: something unforeseen stopped it (an exception reached the command's top).
constexpr int Unexpected = 11;
}  // namespace exitcode
