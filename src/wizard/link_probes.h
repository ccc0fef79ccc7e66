// The live link probes as a readiness run takes them: after the registry checks, logged, their findings added.
#pragma once

#include <functional>
#include <vector>

#include "common/entries.h"
#include "common/status.h"
#include "nodes/node_record.h"
#include "validation/link_probe_plan.h"
#include "validation/readiness_finding.h"

class InstallLog;
struct Platform;

// Runs a piece of work where the caller wants it (the window: off its thread, repainting meanwhile)
// and returns its result; empty runs it on the calling thread.
using OffWindowThread = std::function<Status(const std::function<Status()>&)>;

// The environment variable that turns the probes off for a whole process (the window included),
// for sites that forbid echoes: DUPLEX_SETUP_PROBES=off, in any letter case.
inline constexpr char kProbesVariable[] = "DUPLEX_SETUP_PROBES";
bool ProbesTurnedOffByEnvironment();

// Probes the pair from this computer when it is one of the two nodes (unless `turnedOff` or the
// environment says otherwise), logs one line per probe, adds the probes' findings R12-R19 to
// `findings` (already holding the registry checks' own) in the order every reader sees, and returns
// what the probes found for the report's links table.
LinkProbeResults ProbeLinks(Platform& platform, InstallLog& log, const Entries& entries, const NodeRecord& node1,
                            const NodeRecord& node2, bool turnedOff, const OffWindowThread& offWindowThread,
                            std::vector<Finding>& findings);
