// The rules the ten entries must meet before Step 1 contacts any server.
#include "validation/entry_rules.h"

#include "common/text_case.h"
#include "common/text_format.h"
#include "validation/ip_address_syntax.h"

namespace {
constexpr wchar_t kDomainCharacterSet[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
}  // namespace

bool IsValidAutoStartDomain(const std::wstring& domain) {
  for (const wchar_t c : domain) {
    // Each character is folded on its own copy; the entry keeps the case it was typed in.
    const std::wstring lowered = ToLowerAscii(std::wstring(1, c));
    if (std::wstring(kDomainCharacterSet).find(lowered) == std::wstring::npos) return false;
  }
  return true;
}

std::wstring FirstBrokenEntryRule(const Entries& d) {
  // The ELAN address is examined before the CLAN address, though the window shows CLAN first.
  if (d.ManagedHostName.empty()) return L"You must specify a managed host name.";
  if (d.ManagedElanIp.empty()) return L"You must specify a managed ELAN IP address.";
  if (!IsValidIPAddress(d.ManagedElanIp)) return L"The ELAN IP address that you have specified is invalid.";
  if (d.ManagedClanIp.empty()) return L"You must specify a managed CLAN IP address.";
  if (!IsValidIPAddress(d.ManagedClanIp)) return L"The CLAN IP address that you have specified is invalid.";
  if (d.Node1HostName.empty()) return L"You must specify a host name for node 1.";
  if (d.Node2HostName.empty()) return L"You must specify a host name for node 2.";
  if (d.Node1HostName == d.Node2HostName) return L"Node 1 and Node 2 can not have the same host name.";
  if (d.ManagedHostName == d.Node1HostName || d.ManagedHostName == d.Node2HostName) {
    return L"The managed host name can not be the same as either nodes host name.";
  }
  if (d.UserName.empty()) return L"You must specify a user name.";
  if (d.WorkgroupDomainName.empty()) return L"You must specify a workgroup / domain name.";
  // Any choice passes here; the board count itself matters only to Step 3.
  if (d.BoardCount.empty()) return L"You must specify the number of TMX48 boards in your server (1 or 3).";
  if (d.AutoStartDomain.empty()) return L"You must specify a EMC AutoStart domain.";
  if (!IsValidAutoStartDomain(d.AutoStartDomain)) {
    return FormatText(
        L"The EMC AutoStart domain that you have entered (%s) is invalid. The domain name must not contain any "
        L"spaces or special characters.",
        {d.AutoStartDomain});
  }
  if (d.ClanTestIp.empty()) {
    return L"You must specify a CLAN test IP address. If you are using the CLAN and have a gateway that responds to "
           L"pings it is recommended that you use its IP address. If you are not using a CLAN connection use the "
           L"loopback IP address 127.0.0.1.";
  }
  if (!IsValidIPAddress(d.ClanTestIp)) return L"The CLAN test IP address that you have specified is invalid.";
  return {};
}
