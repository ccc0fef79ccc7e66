// One of a server's five named network connections.
#include "nodes/cnic.h"

#include <cwchar>

#include "app/install_log.h"
#include "common/text_format.h"

namespace {
// The "%d" rules of the scanning function and nothing more: leading white space, a sign,
// no range check, text after the fourth number ignored.
bool ScanDottedQuad(const std::wstring& text, int (&parts)[4]) {
  return std::swscanf(text.c_str(), L"%d.%d.%d.%d", &parts[0], &parts[1], &parts[2], &parts[3]) == 4;
}
}  // namespace

Status cNIC::CalculateSubnet(InstallLog& log) {
  if (IpAddress.empty()) {
    log.Error(L"cNIC::CalculateSubnet(): IP address is empty.");
    return status::InvalidParameter;
  }
  if (SubnetMask.empty()) {
    log.Error(L"cNIC::CalculateSubnet(): Subnet mask is empty.");
    return status::InvalidParameter;
  }
  int address[4];
  if (!ScanDottedQuad(IpAddress, address)) {
    log.Error(FormatText(L"cNIC::CalculateSubnet(): Invalid IP Address \"%s\"", {IpAddress}));
    return status::InvalidParameter;
  }
  int mask[4];
  if (!ScanDottedQuad(SubnetMask, mask)) {
    log.Error(FormatText(L"cNIC::CalculateSubnet(): Invalid subnet mask \"%s\"", {SubnetMask}));
    return status::InvalidParameter;
  }
  Subnet = FormatText(L"%d.%d.%d.%d",
                      {address[0] & mask[0], address[1] & mask[1], address[2] & mask[2], address[3] & mask[3]});
  return status::Success;
}
