// The network seam over the IP helper library: adapter state by interface GUID, and ICMP echoes.
#pragma once

#include "platform/network.h"

class Win32Network : public Network {
 public:
  Status QueryAdapterConnected(const std::wstring& interfaceGuid, bool* connected) override;
  Status Echo(const std::wstring& source, const std::wstring& destination, std::uint32_t timeoutMs,
              std::uint32_t* roundTripMs) override;
};
