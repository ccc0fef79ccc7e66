// The readiness checks of the five links: complete, on one network per link, apart from each other.
#include <set>

#include "common/text_case.h"
#include "common/text_format.h"
#include "validation/readiness_checks.h"
#include "validation/readiness_context.h"

namespace readiness {

namespace {
// The heartbeat and mirror links carry the cluster's own traffic; sharing a network with
// the public CLAN or ELAN breaks the failover they exist for.
bool IsPublic(Link link) { return link == Link::Clan || link == Link::Elan; }

std::vector<ObservedValue> AddressAndMask(const NodeState& node, Link link) {
  const cNIC& nic = *node[link].nic;
  return {{ObservedName(node, link, L"address"), nic.IpAddress}, {ObservedName(node, link, L"mask"), nic.SubnetMask}};
}

// The name without blanks, lowered: two names alike in this are a near miss of each other.
std::wstring Folded(const std::wstring& name) {
  std::wstring folded;
  for (const wchar_t c : name) {
    if (c != L' ' && c != L'\t') folded += c;
  }
  return ToLowerAscii(folded);
}

// A connection of the node named as `link` but for letter case or blanks; empty when none is.
std::wstring NearMiss(const NodeState& node, Link link) {
  const std::wstring wanted = Folded(LinkName(link));
  for (const std::wstring& name : node.record->OtherConnectionNames) {
    if (Folded(name) == wanted) return name;
  }
  return {};
}

std::vector<ObservedValue> Joined(std::vector<ObservedValue> a, const std::vector<ObservedValue>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
}  // namespace

void CheckIncompleteLinks(const PairState& pair, std::vector<Finding>& out) {
  for (const NodeState& node : pair.nodes) {
    for (const Link link : kLinks) {
      const cNIC& nic = *node[link].nic;
      const bool noAddress = nic.IpAddress.empty();
      const bool noMask = nic.SubnetMask.empty();
      if (!noAddress && !noMask) continue;
      const std::wstring where = LinkOfNode(node, link);
      std::wstring message;
      if (noAddress && noMask) {
        message = FormatText(L"%s has no address and no mask", {where});
      } else if (noAddress) {
        message = FormatText(L"%s has no address (mask %s)", {where, nic.SubnetMask});
      } else {
        message = FormatText(L"%s has no mask (address %s)", {where, nic.IpAddress});
      }
      std::wstring remedy = FormatText(L"Give the connection named exactly %s on %s a static address and mask.",
                                       {LinkName(link), node.name});
      // Connections are found by their exact name: one that differs in case or blanks is the likely cause.
      if (const std::wstring miss = nic.Uuid.empty() ? NearMiss(node, link) : std::wstring(); !miss.empty()) {
        message += FormatText(
            L": no connection is named %s, but one is named \"%s\" (names must match exactly, letter case and "
            L"blanks included)",
            {LinkName(link), miss});
        remedy = FormatText(L"Rename the connection \"%s\" on %s to %s exactly.", {miss, node.name, LinkName(link)});
      }
      out.push_back(MakeFinding(L"R01", L"link-incomplete", Severity::Fail, {link}, {node.number}, message, remedy,
                                AddressAndMask(node, link)));
    }
  }
}

void CheckLinkNetworks(const PairState& pair, std::vector<Finding>& out) {
  const NodeState& a = pair.nodes[0];
  const NodeState& b = pair.nodes[1];
  std::set<Link> crossed;
  for (std::size_t i = 0; i < std::size(kLinks); ++i) {
    for (std::size_t j = i + 1; j < std::size(kLinks); ++j) {
      const Link l1 = kLinks[i];
      const Link l2 = kLinks[j];
      if (!a[l1].subnet || !a[l2].subnet || !b[l1].subnet || !b[l2].subnet) continue;
      const Ipv4 a1 = a[l1].subnet->Network(), a2 = a[l2].subnet->Network();
      const Ipv4 b1 = b[l1].subnet->Network(), b2 = b[l2].subnet->Network();
      if (a1 != b2 || a2 != b1 || a1 == a2) continue;
      crossed.insert(l1);
      crossed.insert(l2);
      out.push_back(MakeFinding(
          L"R07", L"crossed-links", Severity::Fail, {l1, l2}, {1, 2},
          FormatText(L"%s and %s are crossed: %s (%s) is on the network of %s (%s), and %s (%s) on that of %s (%s)",
                     {LinkName(l1), LinkName(l2), LinkOfNode(a, l1), AddressUnderMask(a[l1]), LinkOfNode(b, l2),
                      AddressUnderMask(b[l2]), LinkOfNode(a, l2), AddressUnderMask(a[l2]), LinkOfNode(b, l1),
                      AddressUnderMask(b[l1])}),
          FormatText(L"Swap the %s and %s connection names on one node, or re-cable the links.",
                     {LinkName(l1), LinkName(l2)}),
          Joined(Joined(AddressAndMask(a, l1), AddressAndMask(a, l2)),
                 Joined(AddressAndMask(b, l1), AddressAndMask(b, l2)))));
    }
  }
  // A crossed pair is reported once, as such, rather than as two links on different networks.
  for (const Link link : kLinks) {
    if (crossed.count(link) != 0 || !a[link].subnet || !b[link].subnet) continue;
    const Ipv4Subnet& sa = *a[link].subnet;
    const Ipv4Subnet& sb = *b[link].subnet;
    if (sa.Network() == sb.Network()) continue;
    out.push_back(
        MakeFinding(L"R02", L"subnet-mismatch", Severity::Fail, {link}, {1, 2},
                    FormatText(L"%s (%s) and %s (%s) are on different networks (%s and %s)",
                               {LinkOfNode(a, link), SubnetText(sa), LinkOfNode(b, link), SubnetText(sb),
                                Ipv4Text(sa.Network()), Ipv4Text(sb.Network())}),
                    FormatText(L"Put %s of both nodes on one network: correct the address or mask on one of them.",
                               {LinkName(link)}),
                    Joined(AddressAndMask(a, link), AddressAndMask(b, link))));
  }
}

void CheckMasks(const PairState& pair, std::vector<Finding>& out) {
  const NodeState& a = pair.nodes[0];
  const NodeState& b = pair.nodes[1];
  for (const Link link : kLinks) {
    // Any two dotted quads are compared; whether each is a proper mask is R09's concern.
    const auto maskA = ParseIpv4(a[link].nic->SubnetMask);
    const auto maskB = ParseIpv4(b[link].nic->SubnetMask);
    if (!maskA || !maskB || *maskA == *maskB) continue;
    out.push_back(
        MakeFinding(L"R03", L"mask-mismatch", Severity::Warn, {link}, {1, 2},
                    FormatText(L"The %s masks differ: %s on %s, %s on %s",
                               {LinkName(link), a[link].nic->SubnetMask, a.name, b[link].nic->SubnetMask, b.name}),
                    FormatText(L"Give %s the same subnet mask on both nodes.", {LinkName(link)}),
                    {{ObservedName(a, link, L"mask"), a[link].nic->SubnetMask},
                     {ObservedName(b, link, L"mask"), b[link].nic->SubnetMask}}));
  }
}

void CheckOverlaps(const PairState& pair, std::vector<Finding>& out) {
  for (const NodeState& node : pair.nodes) {
    for (std::size_t i = 0; i < std::size(kLinks); ++i) {
      for (std::size_t j = i + 1; j < std::size(kLinks); ++j) {
        const Link l1 = kLinks[i];
        const Link l2 = kLinks[j];
        if (!node[l1].subnet || !node[l2].subnet || !Overlap(*node[l1].subnet, *node[l2].subnet)) continue;
        const bool publicMeetsPrivate = IsPublic(l1) != IsPublic(l2);
        out.push_back(MakeFinding(
            L"R04", L"link-overlap", publicMeetsPrivate ? Severity::Fail : Severity::Warn, {l1, l2}, {node.number},
            FormatText(L"On %s, %s (%s) and %s (%s) overlap in %s",
                       {node.name, LinkName(l1), SubnetText(*node[l1].subnet), LinkName(l2),
                        SubnetText(*node[l2].subnet), NetworkText(CommonNetwork(*node[l1].subnet, *node[l2].subnet))}),
            publicMeetsPrivate
                ? FormatText(L"Give %s of %s a private network of its own, apart from %s.",
                             {LinkName(IsPublic(l1) ? l2 : l1), node.name, LinkName(IsPublic(l1) ? l1 : l2)})
                : FormatText(L"Give %s and %s of %s networks that do not overlap.",
                             {LinkName(l1), LinkName(l2), node.name}),
            Joined(AddressAndMask(node, l1), AddressAndMask(node, l2))));
      }
    }
  }
}

void CheckSeveralAddresses(const PairState& pair, std::vector<Finding>& out) {
  for (const NodeState& node : pair.nodes) {
    for (const Link link : kLinks) {
      if (node[link].nic->IpAddresses.size() < 2) continue;
      const std::vector<std::wstring>& addresses = node[link].nic->IpAddresses;
      std::wstring list;
      for (const std::wstring& address : addresses) list += (list.empty() ? L"" : L", ") + address;
      out.push_back(
          MakeFinding(L"R11", L"several-addresses", Severity::Info, {link}, {node.number},
                      FormatText(L"%s holds %d addresses (%s); only the first, %s, is used",
                                 {LinkOfNode(node, link), static_cast<int>(addresses.size()), list, addresses.front()}),
                      FormatText(L"Make sure %s is the address the cluster should use on %s, or remove the others.",
                                 {addresses.front(), LinkOfNode(node, link)}),
                      {{ObservedName(node, link, L"addresses"), list}}));
    }
  }
}

}  // namespace readiness
