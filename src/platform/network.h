// This computer's network adapters and the echoes the live link probes send: the seam's network part.
#pragma once

#include <cstdint>
#include <string>

#include "common/status.h"

class Network {
 public:
  virtual ~Network() = default;

  // ConvertInterfaceGuidToLuid + GetIfEntry2 for the adapter of this computer whose interface GUID is
  // `interfaceGuid` ("{1A2B3C4D-...}", as the registry names it): whether its cable is plugged in and
  // the adapter is up. 87 for a GUID that is not an adapter of this computer; `connected` is left
  // untouched on failure.
  [[nodiscard]] virtual Status QueryAdapterConnected(const std::wstring& interfaceGuid, bool* connected) = 0;

  // IcmpSendEcho2Ex: one ICMP echo request sent from `source`, an address this computer holds, to
  // `destination` (both dotted quads), waiting at most `timeoutMs` for the reply. 0 with the reply's
  // round trip in `roundTripMs` when answered; 11010 when no reply came in time; else the call's
  // code (87 for an address that is not a dotted quad or a source this computer does not hold).
  // Safe to call from several threads at once: the probes send their echoes side by side.
  [[nodiscard]] virtual Status Echo(const std::wstring& source, const std::wstring& destination,
                                    std::uint32_t timeoutMs, std::uint32_t* roundTripMs) = 0;
};
