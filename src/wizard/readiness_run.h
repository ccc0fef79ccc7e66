// The cluster readiness checks run once for the window's Steps 2 and 3, check and generate alike: every finding
// logged, the report saved, the counts and the report's place handed back.
#pragma once

#include <string>
#include <vector>

#include "common/entries.h"
#include "nodes/node_record.h"
#include "validation/readiness_finding.h"
#include "wizard/link_probes.h"
#include "wizard/readiness_report_file.h"

class FileSystem;
class InstallLog;
struct Platform;

// What a run of the checks is asked for besides the entries and the two records.
struct ReadinessRequest {
  // The step the checks run in (2 or 3), which the report names with the entries' stage.
  int step = 2;
  // Step 2's comparison as it reported it: none when it passed.
  std::vector<std::wstring> validationLines;
  // A folder of `folderFiles` (this computer's files, whatever the platform) the report goes to instead of
  // %ProgramData%\Zandor\Reports of the platform; empty for the usual place.
  std::wstring reportFolder;
  FileSystem* folderFiles = nullptr;
  // The live link probes are left out (the command line's `no-probes`); the environment can turn them off too.
  bool probesTurnedOff = false;
  // Where the probes are sent from: the window hands them off its thread; empty sends them on the caller's.
  OffWindowThread offWindowThread;
};

struct ReadinessOutcome {
  std::vector<Finding> findings;
  FindingCounts counts;
  // The report's HTML file, or why it could not be saved (logged too).
  SavedReport report;
};

// Runs the checks over the entries and the two records, then the live link probes, logs every finding one a line (FAIL as an error, WARN as
// a warning, INFO as information) and saves the report. Everything that finds something about the pair before it
// is reported belongs here, in this one run.
ReadinessOutcome RunReadiness(Platform& platform, InstallLog& log, const Entries& entries, const NodeRecord& node1,
                              const NodeRecord& node2, const ReadinessRequest& request);
