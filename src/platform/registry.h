// The registry calls the program makes, shaped after RegConnectRegistryW and its companions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/status.h"
#include "common/unique_handle.h"

// An open key or registry connection; 0 is the null handle.
using RegHandle = std::uintptr_t;

class Registry {
 public:
  virtual ~Registry() = default;

  // HKEY_LOCAL_MACHINE of this computer; a predefined handle that is never closed.
  virtual RegHandle LocalMachine() const = 0;

  // HKEY_LOCAL_MACHINE of the server named "\\host"; the result must be closed.
  [[nodiscard]] virtual Status ConnectRegistry(const std::wstring& machineName, RegHandle* result) = 0;

  // Opens `subKey` below `parent` for reading (KEY_READ).
  [[nodiscard]] virtual Status OpenKey(RegHandle parent, const std::wstring& subKey, RegHandle* result) = 0;

  // The name of subkey `index`; `bufferChars` counts the terminator, as RegEnumKeyExW does.
  // Past the last subkey: 259. Name longer than the buffer: 234.
  [[nodiscard]] virtual Status EnumKey(RegHandle key, std::uint32_t index, std::uint32_t bufferChars,
                                       std::wstring* name) = 0;

  // Copies the value's raw data into `data` (capacity `*dataBytes`) and stores the byte
  // count in `*dataBytes`. Absent value: 2. Data larger than the buffer: 234.
  [[nodiscard]] virtual Status QueryValue(RegHandle key, const std::wstring& valueName, void* data,
                                          std::uint32_t* dataBytes) = 0;

  // Value `index` of the key read whole, however long (RegEnumValueW): its name, its type (1 string,
  // 4 dword, 7 multi-string ...) and its exact data. Past the last value: 259. The order is the
  // registry's own.
  [[nodiscard]] virtual Status EnumValue(RegHandle key, std::uint32_t index, std::wstring* name, std::uint32_t* type,
                                         std::vector<std::uint8_t>* data) = 0;

  [[nodiscard]] virtual Status CloseKey(RegHandle key) = 0;
};

// A registry that hands every call on to `inner` unchanged: a wrapper overrides only the calls it changes.
class ForwardingRegistry : public Registry {
 public:
  explicit ForwardingRegistry(Registry& inner) : inner_(inner) {}

  RegHandle LocalMachine() const override { return inner_.LocalMachine(); }
  [[nodiscard]] Status ConnectRegistry(const std::wstring& machineName, RegHandle* result) override {
    return inner_.ConnectRegistry(machineName, result);
  }
  [[nodiscard]] Status OpenKey(RegHandle parent, const std::wstring& subKey, RegHandle* result) override {
    return inner_.OpenKey(parent, subKey, result);
  }
  [[nodiscard]] Status EnumKey(RegHandle key, std::uint32_t index, std::uint32_t bufferChars,
                               std::wstring* name) override {
    return inner_.EnumKey(key, index, bufferChars, name);
  }
  [[nodiscard]] Status QueryValue(RegHandle key, const std::wstring& valueName, void* data,
                                  std::uint32_t* dataBytes) override {
    return inner_.QueryValue(key, valueName, data, dataBytes);
  }
  [[nodiscard]] Status EnumValue(RegHandle key, std::uint32_t index, std::wstring* name, std::uint32_t* type,
                                 std::vector<std::uint8_t>* data) override {
    return inner_.EnumValue(key, index, name, type, data);
  }
  [[nodiscard]] Status CloseKey(RegHandle key) override { return inner_.CloseKey(key); }

 protected:
  Registry& inner() const { return inner_; }

 private:
  Registry& inner_;
};

// How a RegKey closes what it holds: through the Registry that opened it.
struct RegKeyTraits {
  using Handle = RegHandle;
  RegKeyTraits() = default;
  // Not explicit, so that `RegKey key(registry);` names the registry its key is closed by.
  RegKeyTraits(Registry& owner) : registry(&owner) {}

  static Handle Null() { return 0; }
  static bool IsValid(Handle key) { return key != 0; }
  // A holder without a registry has nothing that could close its key, so it only lets go of it.
  [[nodiscard]] Status Close(Handle key) const {
    return registry != nullptr ? registry->CloseKey(key) : status::Success;
  }

  Registry* registry = nullptr;
};

// Owns one open key or connection and closes it when it goes out of scope.
using RegKey = UniqueHandle<RegKeyTraits>;
