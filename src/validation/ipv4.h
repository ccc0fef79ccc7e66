// Strict IPv4 dotted quads, masks and the networks they make: the arithmetic of the readiness checks.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// An address or mask as one number, the first octet in the high byte.
using Ipv4 = std::uint32_t;

// Four decimal numbers 0-255 joined by three dots and nothing else: no blank, sign or empty
// piece, and no leading zero, because the Windows resolver reads "010" as octal 8.
std::optional<Ipv4> ParseIpv4(const std::wstring& text);

// True for ones then zeros, 0.0.0.0 and 255.255.255.255 included.
bool IsContiguousMask(Ipv4 mask);
// A dotted quad that is a contiguous mask.
std::optional<Ipv4> ParseMask(const std::wstring& text);
// The number of leading ones of a contiguous mask.
int PrefixLength(Ipv4 mask);

std::wstring Ipv4Text(Ipv4 value);

// An address under its mask, both usable.
struct Ipv4Subnet {
  Ipv4 address = 0;
  Ipv4 mask = 0;

  Ipv4 Network() const { return address & mask; }
  Ipv4 Broadcast() const { return address | ~mask; }
  bool Contains(Ipv4 other) const { return (other & mask) == Network(); }
  // A /31 (two hosts, no broadcast) and a /32 (one host) have no network or broadcast
  // address of their own; only a mask of /30 or shorter sets them apart.
  bool HasNetworkAndBroadcast() const { return PrefixLength(mask) <= 30; }
};

// Both texts usable, the mask contiguous; nullopt otherwise.
std::optional<Ipv4Subnet> ParseSubnet(const std::wstring& address, const std::wstring& mask);

// Two networks overlap when they agree under the shorter of their masks.
bool Overlap(const Ipv4Subnet& a, const Ipv4Subnet& b);
// The shorter mask's network of the two, where they overlap.
Ipv4Subnet CommonNetwork(const Ipv4Subnet& a, const Ipv4Subnet& b);

// "10.1.1.11/24": the address and the mask's prefix length.
std::wstring SubnetText(const Ipv4Subnet& subnet);
// "10.1.1.0/24": the network and the prefix length.
std::wstring NetworkText(const Ipv4Subnet& subnet);
