// One of a server's five named network connections.
#include "nodes/cnic.h"

#include <algorithm>
#include <limits>

#include "log/install_log.h"
#include "common/text_format.h"

namespace {
bool IsScanSpace(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }

// One "%d" conversion: leading white space, an optional sign, at least one digit. The value is
// not range-checked, but a number too large for an int saturates instead of overflowing.
bool ScanInt(const std::wstring& text, std::size_t& pos, int& value) {
  while (pos < text.size() && IsScanSpace(text[pos])) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == L'+' || text[pos] == L'-')) negative = text[pos++] == L'-';
  const std::size_t firstDigit = pos;
  long long magnitude = 0;
  for (; pos < text.size() && text[pos] >= L'0' && text[pos] <= L'9'; ++pos) {
    if (magnitude <= std::numeric_limits<int>::max()) magnitude = magnitude * 10 + (text[pos] - L'0');
  }
  if (pos == firstDigit) return false;
  const long long signedValue = negative ? -magnitude : magnitude;
  value = static_cast<int>(
      std::clamp<long long>(signedValue, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
  return true;
}

// The pattern "%d.%d.%d.%d" with the scanning function's rules: the dots must follow the numbers
// at once, and text after the fourth number is ignored.
bool ScanDottedQuad(const std::wstring& text, int (&parts)[4]) {
  std::size_t pos = 0;
  for (int i = 0; i < 4; ++i) {
    if (i > 0) {
      if (pos >= text.size() || text[pos] != L'.') return false;
      ++pos;
    }
    if (!ScanInt(text, pos, parts[i])) return false;
  }
  return true;
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
