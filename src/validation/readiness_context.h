// What the readiness checks share: the pair parsed once, and the one way a finding is made.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/entries.h"
#include "nodes/node_record.h"
#include "validation/ipv4.h"
#include "validation/readiness_finding.h"

namespace readiness {

// One link of one node, its first address and mask parsed where they are usable.
struct LinkState {
  Link link = Link::Clan;
  const cNIC* nic = nullptr;
  std::optional<Ipv4> address;
  std::optional<Ipv4> mask;  // a contiguous mask only
  std::optional<Ipv4Subnet> subnet;
};

struct NodeState {
  int number = 1;
  std::wstring name;  // the gathered host name, or "Node 1" when there is none
  const NodeRecord* record = nullptr;
  LinkState links[5];

  const LinkState& operator[](Link link) const { return links[static_cast<int>(link)]; }
};

struct PairState {
  const Entries* entries = nullptr;
  NodeState nodes[2];
};

PairState MakePairState(const Entries& entries, const NodeRecord& node1, const NodeRecord& node2);

// "HB1 of node-a"
std::wstring LinkOfNode(const NodeState& node, Link link);
// "node-a HB1 address": the name of an observed value.
std::wstring ObservedName(const NodeState& node, Link link, const wchar_t* what);
// "10.1.1.11/24", or the texts as gathered when they are not usable.
std::wstring AddressUnderMask(const LinkState& state);

Finding MakeFinding(const wchar_t* id, const wchar_t* check, Severity severity, std::vector<Link> links,
                    std::vector<int> nodes, std::wstring message, std::wstring remedy,
                    std::vector<ObservedValue> observed);

// Cross-node and per-node link checks (readiness_link_checks.cpp).
void CheckIncompleteLinks(const PairState& pair, std::vector<Finding>& out);   // R01
void CheckLinkNetworks(const PairState& pair, std::vector<Finding>& out);      // R02, R07
void CheckMasks(const PairState& pair, std::vector<Finding>& out);             // R03
void CheckOverlaps(const PairState& pair, std::vector<Finding>& out);          // R04
void CheckSeveralAddresses(const PairState& pair, std::vector<Finding>& out);  // R11
// Checks of single addresses and where they sit (readiness_address_checks.cpp).
void CheckDuplicates(const PairState& pair, std::vector<Finding>& out);        // R05
void CheckManagedPlacement(const PairState& pair, std::vector<Finding>& out);  // R06
void CheckGateways(const PairState& pair, std::vector<Finding>& out);          // R08
void CheckAddressForms(const PairState& pair, std::vector<Finding>& out);      // R09
void CheckTestAddress(const PairState& pair, std::vector<Finding>& out);       // R10

}  // namespace readiness
