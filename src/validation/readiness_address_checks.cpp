// The readiness checks of single addresses: each used once, well formed, and inside the network it serves.
#include <algorithm>

#include "common/text_format.h"
#include "validation/readiness_context.h"

namespace readiness {

namespace {

constexpr Ipv4 kLoopbackNetwork = 0x7F000000;   // 127.0.0.0/8
constexpr Ipv4 kLinkLocalNetwork = 0xA9FE0000;  // 169.254.0.0/16: what Windows takes when no address came
constexpr Ipv4 kLoopbackTestAddress = 0x7F000001;

// A value the checks may name in a message: "the HB1 address of node-a", "the switch address".
// Its names are made only when a finding needs them; most runs make none.
struct NamedValue {
  enum class Kind { LinkAddress, LinkMask, Entry, NodeValue };
  Kind kind = Kind::Entry;
  Link link = Link::Clan;  // the link the value belongs to
  const std::wstring* text = nullptr;
  const wchar_t* what = L"";        // Entry and NodeValue: "managed CLAN address", "switch address"
  const NodeState* node = nullptr;  // the node holding it; null for entries and a value both nodes hold
  bool bothNodes = false;           // a NodeValue that both nodes hold alike

  // "the HB1 address of node-a", "the managed CLAN address", "the switch address of node-b"
  std::wstring Label() const {
    switch (kind) {
      case Kind::LinkAddress: return FormatText(L"the %s address of %s", {LinkName(link), node->name});
      case Kind::LinkMask: return FormatText(L"the %s mask of %s", {LinkName(link), node->name});
      case Kind::Entry: return FormatText(L"the %s", {what});
      case Kind::NodeValue:
        return bothNodes ? FormatText(L"the %s", {what}) : FormatText(L"the %s of %s", {what, node->name});
    }
    return {};
  }
  // "node-a HB1 address", "managed CLAN address", "node-b switch address"
  std::wstring ObservedName() const {
    switch (kind) {
      case Kind::LinkAddress: return readiness::ObservedName(*node, link, L"address");
      case Kind::LinkMask: return readiness::ObservedName(*node, link, L"mask");
      case Kind::Entry: return what;
      case Kind::NodeValue: return bothNodes ? std::wstring(what) : FormatText(L"%s %s", {node->name, what});
    }
    return {};
  }
  std::vector<int> Nodes() const {
    if (bothNodes) return {1, 2};
    if (node != nullptr) return {node->number};
    return {};
  }
};

NamedValue LinkValue(NamedValue::Kind kind, const NodeState& node, Link link) {
  const cNIC& nic = *node[link].nic;
  return {kind, link, kind == NamedValue::Kind::LinkAddress ? &nic.IpAddress : &nic.SubnetMask, L"", &node, false};
}

std::wstring Capitalized(std::wstring text) {
  if (!text.empty() && text[0] >= L'a' && text[0] <= L'z') text[0] = static_cast<wchar_t>(text[0] - L'a' + L'A');
  return text;
}

// "a", "a and b", "a, b and c"
std::wstring Enumeration(const std::vector<const NamedValue*>& values) {
  std::wstring text;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) text += i + 1 == values.size() ? L" and " : L", ";
    text += values[i]->Label();
  }
  return text;
}

// The first address of each link of both nodes, Node 1's five first.
void AddLinkAddresses(const PairState& pair, std::vector<NamedValue>& values) {
  for (const NodeState& node : pair.nodes) {
    for (const Link link : kLinks) values.push_back(LinkValue(NamedValue::Kind::LinkAddress, node, link));
  }
}

void AddManagedAddresses(const Entries& entries, std::vector<NamedValue>& values) {
  values.push_back({NamedValue::Kind::Entry, Link::Clan, &entries.ManagedClanIp, L"managed CLAN address"});
  values.push_back({NamedValue::Kind::Entry, Link::Elan, &entries.ManagedElanIp, L"managed ELAN address"});
}

// A value each node reports for the pair (the switch address, the CLAN gateway): one value
// when both hold the same text, else one per node. Empty texts are left out.
void AddPairValues(const PairState& pair, const std::wstring& (*get)(const NodeRecord&), const wchar_t* what, Link link,
                   std::vector<NamedValue>& values) {
  const std::wstring& textA = get(*pair.nodes[0].record);
  const std::wstring& textB = get(*pair.nodes[1].record);
  if (!textA.empty() && textA == textB) {
    values.push_back({NamedValue::Kind::NodeValue, link, &textA, what, nullptr, true});
    return;
  }
  for (const NodeState& node : pair.nodes) {
    const std::wstring& text = get(*node.record);
    if (!text.empty()) values.push_back({NamedValue::Kind::NodeValue, link, &text, what, &node, false});
  }
}

const std::wstring& SwitchAddressOf(const NodeRecord& node) { return node.SwitchIpAddress; }
const std::wstring& ClanGatewayOf(const NodeRecord& node) { return node.Clan.DefaultGateway; }

template <typename T>
void AppendUnique(std::vector<T>& into, const std::vector<T>& items) {
  for (const T& item : items) {
    if (std::find(into.begin(), into.end(), item) == into.end()) into.push_back(item);
  }
}

// A finding about `values`: their links and nodes, and each observed, after `observed`.
Finding FindingOverValues(const wchar_t* id, const wchar_t* check, Severity severity,
                          const std::vector<const NamedValue*>& values, std::wstring message, std::wstring remedy,
                          std::vector<ObservedValue> observed = {}) {
  std::vector<Link> links;
  std::vector<int> nodes;
  for (const NamedValue* value : values) {
    AppendUnique(links, {value->link});
    AppendUnique(nodes, value->Nodes());
    observed.push_back({value->ObservedName(), *value->text});
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
  std::vector<NamedValue> values;
  values.reserve(16);
  AddLinkAddresses(pair, values);
  AddManagedAddresses(*pair.entries, values);
  AddPairValues(pair, SwitchAddressOf, L"switch address", Link::Elan, values);
  AddPairValues(pair, ClanGatewayOf, L"CLAN gateway", Link::Clan, values);
  std::vector<std::optional<Ipv4>> parsed;
  parsed.reserve(values.size());
  for (const NamedValue& value : values) parsed.push_back(ParseIpv4(*value.text));

  for (std::size_t i = 0; i < values.size(); ++i) {
    // 0.0.0.0 is no address at all (a link left to DHCP shows it); R09 names it.
    if (!parsed[i] || *parsed[i] == 0) continue;
    // Each address is reported once, where it is first held.
    bool seenBefore = false;
    for (std::size_t j = 0; j < i && !seenBefore; ++j) seenBefore = parsed[j] == parsed[i];
    if (seenBefore) continue;
    std::vector<const NamedValue*> holders = {&values[i]};
    for (std::size_t j = i + 1; j < values.size(); ++j) {
      if (parsed[j] == parsed[i]) holders.push_back(&values[j]);
    }
    if (holders.size() < 2) continue;
    const std::wstring times =
        holders.size() == 2 ? std::wstring(L"twice") : FormatText(L"%d times", {static_cast<int>(holders.size())});
    out.push_back(
        FindingOverValues(L"R05", L"duplicate-address", Severity::Fail, holders,
                          FormatText(L"%s is used %s: by %s", {Ipv4Text(*parsed[i]), times, Enumeration(holders)}),
                          L"Give each of them an address of its own."));
  }
}

void CheckManagedPlacement(const PairState& pair, std::vector<Finding>& out) {
  std::vector<NamedValue> managed;
  AddManagedAddresses(*pair.entries, managed);
  for (const NamedValue& value : managed) {
    const auto address = ParseIpv4(*value.text);
    if (!address) continue;
    for (const NodeState& node : pair.nodes) {
      const auto& subnet = node[value.link].subnet;
      if (!subnet) continue;
      const Placement placement = PlacementIn(*address, *subnet);
      if (placement == Placement::Host) continue;
      const std::wstring where =
          FormatText(L"the %s network of %s (%s)", {LinkName(value.link), node.name, NetworkText(*subnet)});
      const std::wstring message =
          placement == Placement::Outside
              ? FormatText(L"%s (%s) is outside %s", {Capitalized(value.Label()), *value.text, where})
              : FormatText(L"%s (%s) is the %s address of %s",
                           {Capitalized(value.Label()), *value.text, SpecialAddressName(placement), where});
      Finding finding = FindingOverValues(
          L"R06", L"managed-address-placement", Severity::Warn, {&value}, message,
          FormatText(L"Choose a managed %s address inside the %s network of both nodes, not its network or broadcast "
                     L"address.",
                     {LinkName(value.link), LinkName(value.link)}),
          LinkObserved(node, value.link));
      finding.nodes = {node.number};
      out.push_back(std::move(finding));
    }
  }
}

void CheckGateways(const PairState& pair, std::vector<Finding>& out) {
  for (const NodeState& node : pair.nodes) {
    const std::wstring& text = node.record->Clan.DefaultGateway;
    if (text.empty()) {
      out.push_back(MakeFinding(
          L"R08", L"gateway", Severity::Info, {Link::Clan}, {node.number},
          FormatText(L"CLAN of %s has no default gateway", {node.name}),
          FormatText(L"Set a default gateway on the CLAN of %s if the cluster must be reached from other networks.",
                     {node.name}),
          {{FormatText(L"%s CLAN gateway", {node.name}), text}}));
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
    values.push_back({FormatText(L"%s CLAN gateway", {node.name}), text});
    out.push_back(
        MakeFinding(L"R08", L"gateway", Severity::Warn, {Link::Clan}, {node.number},
                    FormatText(L"The CLAN gateway of %s (%s) %s", {node.name, text, fault}),
                    FormatText(L"Set the CLAN gateway of %s to the router's address in its CLAN network.", {node.name}),
                    std::move(values)));
  }
  const NodeState& a = pair.nodes[0];
  const NodeState& b = pair.nodes[1];
  const std::wstring& gatewayA = a.record->Clan.DefaultGateway;
  const std::wstring& gatewayB = b.record->Clan.DefaultGateway;
  if (!gatewayA.empty() && !gatewayB.empty() && gatewayA != gatewayB) {
    out.push_back(MakeFinding(
        L"R08", L"gateway", Severity::Warn, {Link::Clan}, {1, 2},
        FormatText(L"The CLAN gateways differ: %s on %s, %s on %s", {gatewayA, a.name, gatewayB, b.name}),
        L"Give both nodes the same CLAN gateway.",
        {{FormatText(L"%s CLAN gateway", {a.name}), gatewayA}, {FormatText(L"%s CLAN gateway", {b.name}), gatewayB}}));
  }
}

void CheckAddressForms(const PairState& pair, std::vector<Finding>& out) {
  const auto report = [&out](const NamedValue& value, std::wstring message, std::wstring remedy) {
    out.push_back(
        FindingOverValues(L"R09", L"address-form", Severity::Warn, {&value}, std::move(message), std::move(remedy)));
  };
  const auto notFourNumbers = [&report](const NamedValue& value) {
    report(value, FormatText(L"%s (%s) is not four decimal numbers 0-255", {Capitalized(value.Label()), *value.text}),
           FormatText(L"Correct %s: four decimal numbers 0-255 without leading zeros.", {value.Label()}));
  };

  for (const NodeState& node : pair.nodes) {
    for (const Link link : kLinks) {
      const LinkState& state = node[link];
      const NamedValue address = LinkValue(NamedValue::Kind::LinkAddress, node, link);
      const auto ownAddress = [&] {
        return FormatText(L"Give %s of %s a static address of its own.", {LinkName(link), node.name});
      };
      const auto special = [&](const wchar_t* what) {
        report(address, FormatText(L"%s (%s) is %s", {Capitalized(address.Label()), *address.text, what}),
               ownAddress());
      };
      if (address.text->empty()) {
        // An empty address is R01's.
      } else if (!state.address) {
        notFourNumbers(address);
      } else if (*state.address == 0) {
        report(address, FormatText(L"%s is 0.0.0.0: no static address is set", {Capitalized(address.Label())}),
               ownAddress());
      } else if ((*state.address & 0xFF000000) == kLoopbackNetwork) {
        special(L"a loopback address");
      } else if ((*state.address & 0xFFFF0000) == kLinkLocalNetwork) {
        special(L"a link-local address: none was assigned");
      } else if (state.subnet && state.subnet->HasNetworkAndBroadcast() &&
                 (*state.address == state.subnet->Network() || *state.address == state.subnet->Broadcast())) {
        const bool zeros = *state.address == state.subnet->Network();
        report(address,
               FormatText(L"%s (%s) has a host part of all %s: it is the %s address of %s",
                          {Capitalized(address.Label()), *address.text, zeros ? L"zeros" : L"ones",
                           zeros ? L"network" : L"broadcast", NetworkText(*state.subnet)}),
               FormatText(L"Choose an address inside %s other than its network and broadcast address.",
                          {NetworkText(*state.subnet)}));
      }

      const NamedValue mask = LinkValue(NamedValue::Kind::LinkMask, node, link);
      if (mask.text->empty() || state.mask) continue;
      const auto maskValue = ParseIpv4(*mask.text);
      if (!maskValue) {
        notFourNumbers(mask);
      } else if (!IsContiguousMask(*maskValue)) {
        report(mask, FormatText(L"%s (%s) is not contiguous ones then zeros", {Capitalized(mask.Label()), *mask.text}),
               FormatText(L"Use a mask of contiguous ones then zeros for %s of %s, such as 255.255.255.0.",
                          {LinkName(link), node.name}));
      }
    }
  }

  std::vector<NamedValue> others;
  AddPairValues(pair, ClanGatewayOf, L"CLAN gateway", Link::Clan, others);
  AddPairValues(pair, SwitchAddressOf, L"switch address", Link::Elan, others);
  AddManagedAddresses(*pair.entries, others);
  others.push_back({NamedValue::Kind::Entry, Link::Clan, &pair.entries->ClanTestIp, L"CLAN test address"});
  for (const NamedValue& value : others) {
    if (!value.text->empty() && !ParseIpv4(*value.text)) notFourNumbers(value);
  }
}

void CheckTestAddress(const PairState& pair, std::vector<Finding>& out) {
  const std::wstring& text = pair.entries->ClanTestIp;
  const auto test = ParseIpv4(text);
  // The loopback address is the documented choice for a cluster without a CLAN.
  if (!test || *test == kLoopbackTestAddress) return;
  const ObservedValue observed{L"CLAN test address", text};

  std::vector<NamedValue> values;
  AddLinkAddresses(pair, values);
  AddManagedAddresses(*pair.entries, values);
  std::vector<const NamedValue*> holders;
  for (const NamedValue& value : values) {
    if (ParseIpv4(*value.text) == test) holders.push_back(&value);
  }
  if (!holders.empty()) {
    // Pinging a cluster's own address proves nothing about the network; that says more than
    // where the address lies, so it is the one finding.
    Finding finding = FindingOverValues(L"R10", L"test-address", Severity::Warn, holders,
                                        FormatText(L"The CLAN test address (%s) is %s", {text, Enumeration(holders)}),
                                        L"Use an address outside the cluster that answers pings, such as the CLAN "
                                        L"gateway, or 127.0.0.1 without a CLAN.",
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
    out.push_back(
        MakeFinding(L"R10", L"test-address", Severity::Info, {Link::Clan}, {node.number},
                    FormatText(L"The CLAN test address (%s) is outside the CLAN network of %s (%s)",
                               {text, node.name, NetworkText(*subnet)}),
                    FormatText(L"Make sure %s answers pings from %s through its CLAN gateway.", {text, node.name}),
                    std::move(seen)));
  }
}

}  // namespace readiness
