// The registry seam over the real Win32 registry calls; codes are passed on unchanged.
#pragma once

#include "platform/registry.h"

class Win32Registry : public Registry {
 public:
  RegHandle LocalMachine() const override;
  Status ConnectRegistry(const std::wstring& machineName, RegHandle* result) override;
  Status OpenKey(RegHandle parent, const std::wstring& subKey, RegHandle* result) override;
  Status EnumKey(RegHandle key, std::uint32_t index, std::uint32_t bufferChars, std::wstring* name) override;
  Status QueryValue(RegHandle key, const std::wstring& valueName, void* data, std::uint32_t* dataBytes) override;
  Status EnumValue(RegHandle key, std::uint32_t index, std::wstring* name, std::uint32_t* type,
                   std::vector<std::uint8_t>* data) override;
  Status CloseKey(RegHandle key) override;
};
