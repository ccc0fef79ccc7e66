// The two files the clustering product's installer is handed: the cluster's virtual identity (the
// INI file) and the list of values its installer script reads, one a line (the Perl input file).
#pragma once

#include <string>
#include <vector>

#include "common/entries.h"
#include "nodes/node_record.h"

// "[AutoStart]", the virtual ELAN address and the virtual host name.
std::vector<std::wstring> AutoStartIniLines(const Entries& entries);

// 31 values, or 29 when the CLAN test address is the loopback address (no CLAN to test through
// the nodes' own addresses). Values stand as gathered; where one value stands for the pair of
// servers (subnets, masks, the switch address, the CLAN gateway), it is Node 1's.
std::vector<std::wstring> PerlInputLines(const Entries& entries, const NodeRecord& node1, const NodeRecord& node2);
