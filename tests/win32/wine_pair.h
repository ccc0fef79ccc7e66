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

// The keys a pair's import owns under HKLM, so that they are put back afterwards.
std::vector<std::wstring> WinePairOwnedKeys(const std::vector<WinePairConnection>& node1);
