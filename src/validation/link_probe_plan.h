// The live link probes: what is probed from the node the program runs on, and what came back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/entries.h"
#include "common/status.h"
#include "nodes/node_record.h"
#include "validation/readiness_finding.h"

// Each target gets three echoes 100 ms apart, each waiting at most a second: a run where nothing
// answers takes about 1.2 s, whatever the number of targets, as they are all probed at once.
inline constexpr int kEchoesPerTarget = 3;
inline constexpr std::uint32_t kEchoIntervalMs = 100;
inline constexpr std::uint32_t kEchoTimeoutMs = 1000;

// What a target is: the partner's address on a link, or an address the cluster relies on.
enum class ProbeKind { Link, ManagedClan, ManagedElan, TestAddress, Switch };

struct ProbeTarget {
  ProbeKind kind = ProbeKind::Link;
  Link link = Link::Clan;  // the link of here the echoes leave by
  std::wstring from;       // here's address on that link
  std::wstring to;
  std::vector<int> nodes;  // Switch: the nodes whose "Switch IP Address" it is
};

// One of here's adapters, found in Step 1 by its interface GUID.
struct AdapterProbe {
  Link link = Link::Clan;
  std::wstring guid;
};

// Why no probe ran.
enum class ProbeSkip { None, NeitherNode, TurnedOff };

struct ProbePlan {
  ProbeSkip skip = ProbeSkip::None;
  int here = 0;  // the node the program runs on: 1 or 2 (0 when skipped)
  std::wstring hereName;
  std::wstring partnerName;
  std::wstring computerName;
  std::vector<AdapterProbe> adapters;
  std::vector<ProbeTarget> targets;
};

// The probes of a pair from the computer named `computerName`, which is here when its name equals
// a node's host name as gathered (the entry's when none was), ignoring case (Node 1 when both do): each adapter of here
// with a GUID; per link, the partner's address from here's; the managed CLAN and ELAN addresses; the CLAN test address
// unless it is 127.0.0.1; each node's switch address, once when both are equal. A target whose addresses are not both
// dotted quads is left out (the registry checks report those).
ProbePlan MakeProbePlan(const Entries& entries, const NodeRecord& node1, const NodeRecord& node2,
                        const std::wstring& computerName);
// A plan that probes nothing, and says why.
ProbePlan SkippedProbePlan(ProbeSkip skip, const std::wstring& computerName);

enum class AdapterState { Unknown, Connected, Disconnected };

struct AdapterResult {
  AdapterProbe adapter;
  AdapterState state = AdapterState::Unknown;
  Status status = status::Success;  // of the adapter's query; Unknown when it failed
};

struct TargetResult {
  ProbeTarget target;
  bool sent = false;                        // false when here's adapter on the link is disconnected
  int answered = 0;                         // of kEchoesPerTarget
  std::vector<std::uint32_t> roundTripsMs;  // one per answered echo
  Status lastError = status::Success;       // of the last unanswered echo
};

struct LinkProbeResults {
  ProbePlan plan;
  std::vector<AdapterResult> adapters;
  std::vector<TargetResult> targets;
};

// The state of here's adapter on `link` (Unknown when it was not queried).
AdapterState AdapterStateOf(const LinkProbeResults& results, Link link);
// "Link HB1", "Managed CLAN IP", "Managed ELAN IP", "CLAN test address", "Switch IP Address".
std::wstring ProbeTargetName(const ProbeTarget& target);
// The round trips' least, mean and greatest, in milliseconds (zero when none answered).
struct RoundTripSummary {
  std::uint32_t min = 0;
  double average = 0;
  std::uint32_t max = 0;
};
RoundTripSummary SummarizeRoundTrips(const std::vector<std::uint32_t>& roundTripsMs);
// "0.4": tenths of a millisecond, whatever the locale.
std::wstring MillisecondsText(double milliseconds);
