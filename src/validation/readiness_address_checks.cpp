// The readiness checks of single addresses: each used once, well formed, and inside the network it serves.
#include <algorithm>
#include <set>

#include "common/text_format.h"
#include "validation/readiness_context.h"

namespace readiness {

namespace {

constexpr Ipv4 kLoopbackNetwork = 0x7F000000;   // 127.0.0.0/8
constexpr Ipv4 kLinkLocalNetwork = 0xA9FE0000;  // 169.254.0.0/16: what Windows takes when no address came
constexpr Ipv4 kLoopbackTestAddress = 0x7F000001;

// A value the checks name in a message: "the CLAN address of node-a", "the switch address".
struct NamedValue {
  std::wstring label;
  std::wstring observedName;
  std::wstring text;
  std::vector<Link> links;
  std::vector<int> nodes;
};

std::wstring Capitalized(std::wstring text) {
  if (!text.empty() && text[0] >= L'a' && text[0] <= L'z') text[0] = static_cast<wchar_t>(text[0] - L'a' + L'A');
  return text;
}

// "a", "a and b", "a, b and c"
std::wstring Enumeration(const std::vector<std::wstring>& items) {
  std::wstring text;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += i + 1 == items.size() ? L" and " : L", ";
    text += items[i];
  }
  return text;
}

// The first address of each link of both nodes, Node 1's five first.
std::vector<NamedValue> LinkAddressValues(const PairState& pair) {
  std::vector<NamedValue> values;
  for (const NodeState& node : pair.nodes) {
    for (const Link link : kLinks) {
      values.push_back({FormatText(L"the %s address of %s", {LinkName(link), node.name}),
                        ObservedName(node, link, L"address"), node[link].nic->IpAddress, {link}, {node.number}});
    }
  }
  return values;
}

std::vector<NamedValue> ManagedValues(const Entries& entries) {
  return {{L"the managed CLAN address", L"managed CLAN address", entries.ManagedClanIp, {Link::Clan}, {}},
          {L"the managed ELAN address", L"managed ELAN address", entries.ManagedElanIp, {Link::Elan}, {}}};
}

// A value each node reports for the pair (the switch address, the CLAN gateway): one value
// when both hold the same text, else one per node. Empty texts are left out.
std::vector<NamedValue> SharedValues(const PairState& pair, const std::wstring& (*get)(const NodeRecord&),
                                     const wchar_t* what, Link link) {
  const NodeState& a = pair.nodes[0];
  const NodeState& b = pair.nodes[1];
  const std::wstring& textA = get(*a.record);
  const std::wstring& textB = get(*b.record);
  if (!textA.empty() && textA == textB) return {{FormatText(L"the %s", {what}), what, textA, {link}, {1, 2}}};
  std::vector<NamedValue> values;
  for (const NodeState* node : {&a, &b}) {
    const std::wstring& text = get(*node->record);
    if (text.empty()) continue;
    values.push_back({FormatText(L"the %s of %s", {what, node->name}), FormatText(L"%s %s", {node->name, what}), text,
                      {link}, {node->number}});
  }
  return values;
}

const std::wstring& SwitchAddressOf(const NodeRecord& node) { return node.SwitchIpAddress; }
const std::wstring& ClanGatewayOf(const NodeRecord& node) { return node.Clan.DefaultGateway; }

template <typename T>
void AppendUnique(std::vector<T>& into, const std::vector<T>& items) {
  for (const T& item : items) {
    if (std::find(into.begin(), into.end(), item) == into.end()) into.push_back(item);
  }
}

Finding FindingOverValues(const wchar_t* id, const wchar_t* check, Severity severity,
                          const std::vector<const NamedValue*>& values, std::wstring message, std::wstring remedy,
                          std::vector<ObservedValue> observed = {}) {
  std::vector<Link> links;
  std::vector<int> nodes;
  for (const NamedValue* value : values) {
    AppendUnique(links, value->links);
    AppendUnique(nodes, value->nodes);
    observed.push_back({value->observedName, value->text});
  }
  std::sort(links.begin(), links.end());
  std::sort(nodes.begin(), nodes.end());
  return MakeFinding(id, check, severity, std::move(links), std::move(nodes), std::move(message), std::move(remedy),
                     std::move(observed));
}

std::vector<ObservedValue> LinkObserved(const NodeState& node, Link link) {
  return {{ObservedName(node, link, L"address"), node[link].nic->IpAddress},
          {ObservedName(node, link, L"mask"), node[link].nic->SubnetMask}};
}

// Where an address falls against a network it should be a plain host of.
enum class Placement { Host, Outside, NetworkAddress, BroadcastAddress };

Placement PlacementIn(Ipv4 address, const Ipv4Subnet& subnet) {
  if (!subnet.Contains(address)) return Placement::Outside;
  if (!subnet.HasNetworkAndBroadcast()) return Placement::Host;
  if (address == subnet.Network()) return Placement::NetworkAddress;
  if (address == subnet.Broadcast()) return Placement::BroadcastAddress;
  return Placement::Host;
}

const wchar_t* SpecialAddressName(Placement placement) {
  return placement == Placement::NetworkAddress ? L"network" : L"broadcast";
}

}  // namespace

void CheckDuplicates(const PairState& pair, std::vector<Finding>& out) {
  std::vector<NamedValue> values = LinkAddressValues(pair);
  for (auto& more : {ManagedValues(*pair.entries), SharedValues(pair, SwitchAddressOf, L"switch address", Link::Elan),
                     SharedValues(pair, ClanGatewayOf, L"CLAN gateway", Link::Clan)}) {
    values.insert(values.end(), more.begin(), more.end());
  }
  std::set<Ipv4> reported;
  for (const NamedValue& first : values) {
    const auto address = ParseIpv4(first.text);
    // 0.0.0.0 is no address at all (a link left to DHCP shows it); R09 names it.
    if (!address || *address == 0 || reported.count(*address) != 0) continue;
    std::vector<const NamedValue*> holders;
    for (const NamedValue& other : values) {
      if (ParseIpv4(other.text) == address) holders.push_back(&other);
    }
    if (holders.size() < 2) continue;
    reported.insert(*address);
    std::vector<std::wstring> labels;
    for (const NamedValue* holder : holders) labels.push_back(holder->label);
    const std::wstring times =
        holders.size() == 2 ? std::wstring(L"twice") : FormatText(L"%d times", {static_cast<int>(holders.size())});
    out.push_back(FindingOverValues(L"R05", L"duplicate-address", Severity::Fail, holders,
                                    FormatText(L"%s is used %s: by %s", {Ipv4Text(*address), times, Enumeration(labels)}),
                                    L"Give each of them an address of its own."));
  }
}

void CheckManagedPlacement(const PairState& pair, std::vector<Finding>& out) {
  for (const NamedValue& managed : ManagedValues(*pair.entries)) {
    const auto address = ParseIpv4(managed.text);
    if (!address) continue;
    const Link link = managed.links.front();
    for (const NodeState& node : pair.nodes) {
      const auto& subnet = node[link].subnet;
      if (!subnet) continue;
      const Placement placement = PlacementIn(*address, *subnet);
      if (placement == Placement::Host) continue;
      const std::wstring where = FormatText(L"the %s network of %s (%s)", {LinkName(link), node.name, NetworkText(*subnet)});
      const std::wstring message =
          placement == Placement::Outside
              ? FormatText(L"%s (%s) is outside %s", {Capitalized(managed.label), managed.text, where})
              : FormatText(L"%s (%s) is the %s address of %s",
                           {Capitalized(managed.label), managed.text, SpecialAddressName(placement), where});
      std::vector<const NamedValue*> values = {&managed};
      out.push_back(FindingOverValues(
          L"R06", L"managed-address-placement", Severity::Warn, values, message,
          FormatText(L"Choose a managed %s address inside the %s network of both nodes, not its network or broadcast "
                     L"address.",
                     {LinkName(link), LinkName(link)}),
          LinkObserved(node, link)));
      out.back().nodes = {node.number};
    }
  }
}

void CheckGateways(const PairState& pair, std::vector<Finding>& out) {
  for (const NodeState& node : pair.nodes) {
    const std::wstring& text = node.record->Clan.DefaultGateway;
    const ObservedValue observed{FormatText(L"%s CLAN gateway", {node.name}), text};
    if (text.empty()) {
      out.push_back(MakeFinding(
          L"R08", L"gateway", Severity::Info, {Link::Clan}, {node.number},
          FormatText(L"CLAN of %s has no default gateway", {node.name}),
          FormatText(L"Set a default gateway on the CLAN of %s if the cluster must be reached from other networks.",
                     {node.name}),
          {observed}));
      continue;
    }
    const auto gateway = ParseIpv4(text);
    const auto& subnet = node[Link::Clan].subnet;
    if (!gateway || !subnet) continue;
    std::wstring fault;
    if (*gateway == subnet->address) {
      fault = L"is its own CLAN address";
    } else if (const Placement placement = PlacementIn(*gateway, *subnet); placement == Placement::Outside) {
      fault = FormatText(L"is outside its CLAN network (%s)", {NetworkText(*subnet)});
    } else if (placement != Placement::Host) {
      fault = FormatText(L"is the %s address of its CLAN network (%s)",
                         {SpecialAddressName(placement), NetworkText(*subnet)});
    }
    if (fault.empty()) continue;
    std::vector<ObservedValue> values = LinkObserved(node, Link::Clan);
    values.push_back(observed);
    out.push_back(MakeFinding(L"R08", L"gateway", Severity::Warn, {Link::Clan}, {node.number},
                              FormatText(L"The CLAN gateway of %s (%s) %s", {node.name, text, fault}),
                              FormatText(L"Set the CLAN gateway of %s to the router's address in its CLAN network.",
                                         {node.name}),
                              std::move(values)));
  }
  const NodeState& a = pair.nodes[0];
  const NodeState& b = pair.nodes[1];
  const std::wstring& gatewayA = a.record->Clan.DefaultGateway;
  const std::wstring& gatewayB = b.record->Clan.DefaultGateway;
  if (!gatewayA.empty() && !gatewayB.empty() && gatewayA != gatewayB) {
    out.push_back(MakeFinding(L"R08", L"gateway", Severity::Warn, {Link::Clan}, {1, 2},
                              FormatText(L"The CLAN gateways differ: %s on %s, %s on %s",
                                         {gatewayA, a.name, gatewayB, b.name}),
                              L"Give both nodes the same CLAN gateway.",
                              {{FormatText(L"%s CLAN gateway", {a.name}), gatewayA},
                               {FormatText(L"%s CLAN gateway", {b.name}), gatewayB}}));
  }
}

void CheckAddressForms(const PairState& pair, std::vector<Finding>& out) {
  const auto report = [&out](const NamedValue& value, std::wstring message, std::wstring remedy) {
    out.push_back(FindingOverValues(L"R09", L"address-form", Severity::Warn, {&value}, std::move(message),
                                    std::move(remedy)));
  };
  const auto notFourNumbers = [&report](const NamedValue& value) {
    report(value, FormatText(L"%s (%s) is not four decimal numbers 0-255", {Capitalized(value.label), value.text}),
           FormatText(L"Correct %s: four decimal numbers 0-255 without leading zeros.", {value.label}));
  };

  for (const NodeState& node : pair.nodes) {
    for (const Link link : kLinks) {
      const LinkState& state = node[link];
      const NamedValue address{FormatText(L"the %s address of %s", {LinkName(link), node.name}),
                               ObservedName(node, link, L"address"), state.nic->IpAddress, {link}, {node.number}};
      const NamedValue mask{FormatText(L"the %s mask of %s", {LinkName(link), node.name}),
                            ObservedName(node, link, L"mask"), state.nic->SubnetMask, {link}, {node.number}};
      const std::wstring ownAddress =
          FormatText(L"Give %s of %s a static address of its own.", {LinkName(link), node.name});
      if (address.text.empty()) {
        // An empty address is R01's.
      } else if (!state.address) {
        notFourNumbers(address);
      } else if (*state.address == 0) {
        report(address, FormatText(L"%s is 0.0.0.0: no static address is set", {Capitalized(address.label)}), ownAddress);
      } else if ((*state.address & 0xFF000000) == kLoopbackNetwork) {
        report(address, FormatText(L"%s (%s) is a loopback address", {Capitalized(address.label), address.text}),
               ownAddress);
      } else if ((*state.address & 0xFFFF0000) == kLinkLocalNetwork) {
        report(address,
               FormatText(L"%s (%s) is a link-local address: none was assigned", {Capitalized(address.label), address.text}),
               ownAddress);
      } else if (state.subnet && state.subnet->HasNetworkAndBroadcast() &&
                 (*state.address == state.subnet->Network() || *state.address == state.subnet->Broadcast())) {
        const bool zeros = *state.address == state.subnet->Network();
        report(address,
               FormatText(L"%s (%s) has a host part of all %s: it is the %s address of %s",
                          {Capitalized(address.label), address.text, zeros ? L"zeros" : L"ones",
                           zeros ? L"network" : L"broadcast", NetworkText(*state.subnet)}),
               FormatText(L"Choose an address inside %s other than its network and broadcast address.",
                          {NetworkText(*state.subnet)}));
      }
      if (mask.text.empty()) continue;
      const auto maskValue = ParseIpv4(mask.text);
      if (!maskValue) {
        notFourNumbers(mask);
      } else if (!IsContiguousMask(*maskValue)) {
        report(mask, FormatText(L"%s (%s) is not contiguous ones then zeros", {Capitalized(mask.label), mask.text}),
               FormatText(L"Use a mask of contiguous ones then zeros for %s of %s, such as 255.255.255.0.",
                          {LinkName(link), node.name}));
      }
    }
  }

  std::vector<NamedValue> others = SharedValues(pair, ClanGatewayOf, L"CLAN gateway", Link::Clan);
  for (auto& more : {SharedValues(pair, SwitchAddressOf, L"switch address", Link::Elan), ManagedValues(*pair.entries)}) {
    others.insert(others.end(), more.begin(), more.end());
  }
  others.push_back({L"the CLAN test address", L"CLAN test address", pair.entries->ClanTestIp, {Link::Clan}, {}});
  for (const NamedValue& value : others) {
    if (!value.text.empty() && !ParseIpv4(value.text)) notFourNumbers(value);
  }
}

void CheckTestAddress(const PairState& pair, std::vector<Finding>& out) {
  const std::wstring& text = pair.entries->ClanTestIp;
  const auto test = ParseIpv4(text);
  // The loopback address is the documented choice for a cluster without a CLAN.
  if (!test || *test == kLoopbackTestAddress) return;
  const ObservedValue observed{L"CLAN test address", text};

  std::vector<NamedValue> values = LinkAddressValues(pair);
  const std::vector<NamedValue> managed = ManagedValues(*pair.entries);
  values.insert(values.end(), managed.begin(), managed.end());
  std::vector<const NamedValue*> holders;
  std::vector<std::wstring> labels;
  for (const NamedValue& value : values) {
    if (ParseIpv4(value.text) != test) continue;
    holders.push_back(&value);
    labels.push_back(value.label);
  }
  if (!holders.empty()) {
    // Pinging a cluster's own address proves nothing about the network; that says more than
    // where the address lies, so it is the one finding.
    Finding finding = FindingOverValues(
        L"R10", L"test-address", Severity::Warn, holders,
        FormatText(L"The CLAN test address (%s) is %s", {text, Enumeration(labels)}),
        L"Use an address outside the cluster that answers pings, such as the CLAN gateway, or 127.0.0.1 without a CLAN.",
        {observed});
    AppendUnique(finding.links, {Link::Clan});
    std::sort(finding.links.begin(), finding.links.end());
    out.push_back(std::move(finding));
    return;
  }
  for (const NodeState& node : pair.nodes) {
    const auto& subnet = node[Link::Clan].subnet;
    if (!subnet || subnet->Contains(*test)) continue;
    std::vector<ObservedValue> seen = {observed};
    for (const ObservedValue& value : LinkObserved(node, Link::Clan)) seen.push_back(value);
    out.push_back(MakeFinding(L"R10", L"test-address", Severity::Info, {Link::Clan}, {node.number},
                              FormatText(L"The CLAN test address (%s) is outside the CLAN network of %s (%s)",
                                         {text, node.name, NetworkText(*subnet)}),
                              FormatText(L"Make sure %s answers pings from %s through its CLAN gateway.", {text, node.name}),
                              std::move(seen)));
  }
}

}  // namespace readiness
