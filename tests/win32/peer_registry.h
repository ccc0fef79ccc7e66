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
class PeerRegistry : public Registry {
 public:
  explicit PeerRegistry(Registry& inner) : inner_(inner) {}

  RegHandle LocalMachine() const override { return inner_.LocalMachine(); }
  Status ConnectRegistry(const std::wstring& machineName, RegHandle* result) override;
  Status OpenKey(RegHandle parent, const std::wstring& subKey, RegHandle* result) override {
    return inner_.OpenKey(parent, subKey, result);
  }
  Status EnumKey(RegHandle key, std::uint32_t index, std::uint32_t bufferChars, std::wstring* name) override {
    return inner_.EnumKey(key, index, bufferChars, name);
  }
  Status QueryValue(RegHandle key, const std::wstring& valueName, void* data, std::uint32_t* dataBytes) override {
    return inner_.QueryValue(key, valueName, data, dataBytes);
  }
  Status EnumValue(RegHandle key, std::uint32_t index, std::wstring* name, std::uint32_t* type,
                   std::vector<std::uint8_t>* data) override {
    return inner_.EnumValue(key, index, name, type, data);
  }
  Status CloseKey(RegHandle key) override { return inner_.CloseKey(key); }

 private:
  Registry& inner_;
};
