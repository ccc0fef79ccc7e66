// Node 2 of a pair under Wine: Wine serves the registry of this computer alone, so the tests keep the peer's
// HKEY_LOCAL_MACHINE as a key of it and reach it by the peer's name.
#pragma once

#include <string>

#include "platform/registry.h"

// The name node 2 goes by, and where its HKEY_LOCAL_MACHINE lies below this computer's.
inline constexpr wchar_t kPeerName[] = L"duplex-peer";
inline constexpr wchar_t kPeerRoot[] = L"Software\\DuplexTestPeer";

// The Win32 registry, with "\\duplex-peer" (any case) connecting to kPeerRoot of this computer's
// registry: every key and value below is then read through the real calls, as a remote server's would be.
class PeerRegistry : public ForwardingRegistry {
 public:
  explicit PeerRegistry(Registry& inner) : ForwardingRegistry(inner) {}

  Status ConnectRegistry(const std::wstring& machineName, RegHandle* result) override;
};
