// Strict IPv4 dotted quads, masks and the networks they make: the arithmetic of the readiness checks.
#include "validation/ipv4.h"

#include <bit>

std::optional<Ipv4> ParseIpv4(const std::wstring& text) {
  Ipv4 value = 0;
  std::size_t at = 0;
  for (int octet = 0; octet < 4; ++octet) {
    if (octet > 0) {
      if (at >= text.size() || text[at] != L'.') return std::nullopt;
      ++at;
    }
    const std::size_t start = at;
    unsigned number = 0;
    while (at < text.size() && text[at] >= L'0' && text[at] <= L'9' && at - start < 3) {
      number = number * 10 + static_cast<unsigned>(text[at] - L'0');
      ++at;
    }
    const std::size_t digits = at - start;
    if (digits == 0 || number > 255 || (digits > 1 && text[start] == L'0')) return std::nullopt;
    value = (value << 8) | number;
  }
  if (at != text.size()) return std::nullopt;
  return value;
}

bool IsContiguousMask(Ipv4 mask) {
  // Ones then zeros: the inverted mask plus one is a power of two (or wraps to zero for /0).
  const Ipv4 hostBits = ~mask;
  return (hostBits & (hostBits + 1)) == 0;
}

std::optional<Ipv4> ParseMask(const std::wstring& text) {
  const auto mask = ParseIpv4(text);
  if (!mask || !IsContiguousMask(*mask)) return std::nullopt;
  return mask;
}

int PrefixLength(Ipv4 mask) { return std::popcount(mask); }

namespace {
// Digits by hand: std::to_wstring goes through the C library's wide printf, and findings
// write many of these.
void AppendDecimal(std::wstring& text, unsigned number) {
  if (number >= 100) text += static_cast<wchar_t>(L'0' + number / 100);
  if (number >= 10) text += static_cast<wchar_t>(L'0' + number / 10 % 10);
  text += static_cast<wchar_t>(L'0' + number % 10);
}

std::wstring WithPrefix(Ipv4 address, Ipv4 mask) {
  std::wstring text = Ipv4Text(address);
  text += L'/';
  AppendDecimal(text, static_cast<unsigned>(PrefixLength(mask)));
  return text;
}
}  // namespace

std::wstring Ipv4Text(Ipv4 value) {
  std::wstring text;
  text.reserve(15);
  for (int shift = 24; shift >= 0; shift -= 8) {
    if (shift != 24) text += L'.';
    AppendDecimal(text, (value >> shift) & 0xFF);
  }
  return text;
}

std::optional<Ipv4Subnet> ParseSubnet(const std::wstring& address, const std::wstring& mask) {
  const auto parsedAddress = ParseIpv4(address);
  const auto parsedMask = ParseMask(mask);
  if (!parsedAddress || !parsedMask) return std::nullopt;
  return Ipv4Subnet{*parsedAddress, *parsedMask};
}

Ipv4Subnet CommonNetwork(const Ipv4Subnet& a, const Ipv4Subnet& b) {
  // For contiguous masks the shorter one is their AND.
  const Ipv4 shorter = a.mask & b.mask;
  return Ipv4Subnet{a.address & shorter, shorter};
}

bool Overlap(const Ipv4Subnet& a, const Ipv4Subnet& b) {
  const Ipv4 shorter = a.mask & b.mask;
  return (a.address & shorter) == (b.address & shorter);
}

std::wstring SubnetText(const Ipv4Subnet& subnet) { return WithPrefix(subnet.address, subnet.mask); }

std::wstring NetworkText(const Ipv4Subnet& subnet) { return WithPrefix(subnet.Network(), subnet.mask); }
