// The findings of the live link probes (R12-R19, docs/readiness.md): probe results in, findings out.
#pragma once

#include <vector>

#include "validation/link_probe_plan.h"
#include "validation/readiness_finding.h"

// A heartbeat or mirror round trip above this many milliseconds is unsteady (R14).
inline constexpr std::uint32_t kSteadyRoundTripMs = 10;

// R12 link-down, R13 link-silent, R14 link-unsteady, R15 managed-address-answers, R16
// test-address-silent, R17 switch-silent, R18 echo-blocked and R19 probes-skipped, in the order the
// readiness checks sort theirs by. A partner that answered no echo on any link gives R18 alone,
// never an R13 per link: its registry was just read over the network, so the network reaches it
// and its firewall most likely drops echo requests.
std::vector<Finding> LinkProbeFindings(const LinkProbeResults& results);
