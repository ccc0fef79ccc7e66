// The live link probes sent: here's adapters asked for their state, then every target's echoes at once.
#pragma once

#include "platform/machine.h"
#include "platform/network.h"
#include "validation/link_probe_plan.h"

// Asks for the state of each adapter of the plan, then sends every target whose adapter is not
// disconnected its kEchoesPerTarget echoes, kEchoIntervalMs apart by `machine`'s Sleep, each
// waiting at most kEchoTimeoutMs. All targets are probed side by side, each echo on a thread of
// its own (the seam's echo waits for its answer): the run takes one echo's time-out plus the
// intervals, however many targets there are. Returns once every echo has ended.
LinkProbeResults RunLinkProbes(const ProbePlan& plan, Network& network, Machine& machine);
