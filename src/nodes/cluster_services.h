// The clustering services a server runs for an AutoStart domain, and the words their states are told in: one table
// each, read by the gathering and by a capture alike.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "nodes/node_record.h"

struct ClusterService {
  std::wstring name;
  // Where the gathering keeps its state.
  std::wstring NodeRecord::*stateField;
};

// The agent and backbone services of `domain` (named after it), then the mirror and transport services (of fixed
// name), in the order they are queried and logged.
std::vector<ClusterService> ClusterServices(const std::wstring& domain);

// The names a capture asks a server for: those of ClusterServices, without the two named after the domain when
// there is none.
std::vector<std::wstring> ClusterServiceNames(const std::wstring& domain);

// A service's current state (1 stopped ... 7 paused) as the node information list shows it ("Running"), "Unknown"
// for any other number.
const wchar_t* ServiceStateText(std::uint32_t state);
// The same state as `sc queryex` prints it ("RUNNING"), empty for any other number.
const wchar_t* ServiceStateWord(std::uint32_t state);
