// A cluster pair in Wine's real registry and service manager: node 1 is this computer, node 2 the peer
// (peer_registry.h), each with its five connections, the product's settings and the domain's services.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "system_fixtures.h"

struct WinePairConnection {
  const wchar_t* name;
  std::wstring guid;  // as the class key names the adapter, letter case and all
  std::vector<std::wstring> addresses;
  std::wstring mask;
};

// One server's keys: its connections, an extra adapter the wizard passes over (and one named ""),
// the switch address and the feature switch. Keys are written below `root` ("" for HKLM itself).
void AddWineServer(RegFileText& file, const std::wstring& root, const std::vector<WinePairConnection>& connections,
                   const std::wstring& clanDomain);

// The five connections of one server of a test pair: one network per link with the server's number `host` on it
// (the CLAN with a second address, host + 90) and GUIDs of the test's own `series` (0-9), in both letter cases.
std::vector<WinePairConnection> WinePairConnections(int series, int host);

// Both servers' keys: node 1 as this computer's, node 2 below the peer's root.
RegFileText WinePairRegistry(const std::vector<WinePairConnection>& node1, const std::vector<WinePairConnection>& node2,
                             const std::wstring& clanDomain);

// The keys a pair's import owns under HKLM, so that they are put back afterwards.
std::vector<std::wstring> WinePairOwnedKeys(const std::vector<WinePairConnection>& node1);
