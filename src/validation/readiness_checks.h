// The cluster readiness checks: what in a pair's configuration cannot work, or very likely is wrong.
#pragma once

#include <string>
#include <vector>

#include "common/entries.h"
#include "nodes/node_record.h"
#include "validation/readiness_finding.h"

// Runs the checks R01-R11 (docs/readiness.md) over the entries and the two gathered servers.
// The findings come in a stable order: by severity (FAIL, WARN, INFO), then check id, then
// links (CLAN, ELAN, HB1, HB2, MIRROR, compared in turn), then as found, Node 1 before Node 2.
std::vector<Finding> RunReadinessChecks(const Entries& entries, const NodeRecord& node1, const NodeRecord& node2);

// Puts findings in that order; findings equal in all three keys keep theirs.
void SortFindings(std::vector<Finding>& findings);

const cNIC& LinkOf(const NodeRecord& node, Link link);
// Every address the link holds: the gathered list, or the first address alone when the
// record kept no list.
std::vector<std::wstring> LinkAddresses(const cNIC& nic);
