// Step 2's comparison of the two gathered servers, and the service report Step 2 and Step 3 share.
#pragma once

#include <string>
#include <vector>

#include "common/entries.h"
#include "nodes/node_record.h"

// One line for each server with a service that is not running, the server named by its entry as
// the user typed it; none when every service of both runs.
std::vector<std::wstring> ServicesNotRunningLines(const Entries& entries, const NodeRecord& node1,
                                                  const NodeRecord& node2);

// Every finding of the comparison in order: the switch addresses, the CLAN domains (the servers
// named as their records were gathered), then in stage 2 the services. None when they agree.
std::vector<std::wstring> CrossNodeReportLines(const Entries& entries, const NodeRecord& node1,
                                               const NodeRecord& node2);

// The lines as the report box and the log show them: each ended by CR LF.
std::wstring JoinReportLines(const std::vector<std::wstring>& lines);
