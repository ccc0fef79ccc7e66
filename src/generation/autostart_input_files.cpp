// The installer's two input files, line by line.
#include "generation/autostart_input_files.h"

namespace {
// The address the entry rules recommend when there is no CLAN: compared as text, exactly.
constexpr wchar_t kLoopbackAddress[] = L"127.0.0.1";
}  // namespace

std::vector<std::wstring> AutoStartIniLines(const Entries& entries) {
  return {L"[AutoStart]", L"VirtualElanIP=" + entries.ManagedElanIp, L"VirtualHostname=" + entries.ManagedHostName};
}

std::vector<std::wstring> PerlInputLines(const Entries& entries, const NodeRecord& node1, const NodeRecord& node2) {
  // One value a line, as the file holds them.
  // clang-format off
  std::vector<std::wstring> lines = {
      node1.HostName,
      node2.HostName,
      node1.Elan.Subnet,
      node1.Elan.SubnetMask,
      node1.Elan.IpAddress,
      node2.Elan.IpAddress,
      node1.SwitchIpAddress,
      node1.Elan.IpAddress,
      node2.Elan.IpAddress,
      L"",
      entries.ManagedElanIp,
      node1.SwitchIpAddress,
      node1.Clan.Subnet,
      node1.Clan.SubnetMask,
      node1.Clan.IpAddress,
      node2.Clan.IpAddress,
      entries.ClanTestIp,
  };
  // clang-format on
  if (entries.ClanTestIp != kLoopbackAddress) {
    lines.push_back(node1.Clan.IpAddress);
    lines.push_back(node2.Clan.IpAddress);
  }
  // clang-format off
  const std::wstring rest[] = {
      L"",
      entries.ManagedClanIp,
      node1.Clan.DefaultGateway,
      node1.Hb1.IpAddress,
      node2.Hb1.IpAddress,
      node1.Hb2.IpAddress,
      node2.Hb2.IpAddress,
      node1.Mirror.IpAddress,
      node2.Mirror.IpAddress,
      entries.UserName,
      entries.WorkgroupDomainName,
      L"C",
  };
  // clang-format on
  lines.insert(lines.end(), std::begin(rest), std::end(rest));
  return lines;
}
