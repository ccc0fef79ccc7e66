// The registry calls the program makes, shaped after RegConnectRegistryW and its companions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/status.h"

// An open key or registry connection; 0 is the null handle.
using RegHandle = std::uintptr_t;

class Registry {
 public:
  virtual ~Registry() = default;

  // HKEY_LOCAL_MACHINE of this computer; a predefined handle that is never closed.
  virtual RegHandle LocalMachine() const = 0;

  // HKEY_LOCAL_MACHINE of the server named "\\host"; the result must be closed.
  virtual Status ConnectRegistry(const std::wstring& machineName, RegHandle* result) = 0;

  // Opens `subKey` below `parent` for reading (KEY_READ).
  virtual Status OpenKey(RegHandle parent, const std::wstring& subKey, RegHandle* result) = 0;

  // The name of subkey `index`; `bufferChars` counts the terminator, as RegEnumKeyExW does.
  // Past the last subkey: 259. Name longer than the buffer: 234.
  virtual Status EnumKey(RegHandle key, std::uint32_t index, std::uint32_t bufferChars, std::wstring* name) = 0;

  // Copies the value's raw data into `data` (capacity `*dataBytes`) and stores the byte
  // count in `*dataBytes`. Absent value: 2. Data larger than the buffer: 234.
  virtual Status QueryValue(RegHandle key, const std::wstring& valueName, void* data, std::uint32_t* dataBytes) = 0;

  // Value `index` of the key read whole, however long (RegEnumValueW): its name, its type (1 string,
  // 4 dword, 7 multi-string ...) and its exact data. Past the last value: 259. The order is the
  // registry's own.
  virtual Status EnumValue(RegHandle key, std::uint32_t index, std::wstring* name, std::uint32_t* type,
                           std::vector<std::uint8_t>* data) = 0;

  virtual Status CloseKey(RegHandle key) = 0;
};

// Owns one open key or connection and closes it when it goes out of scope.
class RegKey {
 public:
  RegKey() = default;
  explicit RegKey(Registry& registry) : registry_(&registry) {}
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  RegKey(RegKey&& other) noexcept : registry_(other.registry_), handle_(other.handle_) { other.handle_ = 0; }
  RegKey& operator=(RegKey&& other) noexcept {
    if (this != &other) {
      Close();
      registry_ = other.registry_;
      handle_ = other.handle_;
      other.handle_ = 0;
    }
    return *this;
  }
  ~RegKey() { Close(); }

  RegHandle get() const { return handle_; }
  bool IsOpen() const { return handle_ != 0; }
  // For the open call to write into; the key must be closed already.
  RegHandle* Receive() { return &handle_; }

  void Close() {
    if (handle_ != 0 && registry_ != nullptr) registry_->CloseKey(handle_);
    handle_ = 0;
  }

 private:
  Registry* registry_ = nullptr;
  RegHandle handle_ = 0;
};
