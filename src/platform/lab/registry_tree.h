// A server's HKEY_LOCAL_MACHINE held in memory: keys, values and their raw data.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

struct RegistryValue {
  std::wstring name;  // empty for the default value
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;  // exactly the bytes the registry holds
};

// Names are kept as first written and looked up ignoring case, as the registry does;
// subkeys keep the order in which they were created (an export lists them sorted).
class RegistryKeyNode {
 public:
  explicit RegistryKeyNode(std::wstring name) : name_(std::move(name)) {}

  const std::wstring& Name() const { return name_; }
  const std::vector<std::unique_ptr<RegistryKeyNode>>& Subkeys() const { return subkeys_; }
  const std::vector<RegistryValue>& Values() const { return values_; }

  RegistryKeyNode* FindSubkey(const std::wstring& name) const;
  RegistryKeyNode* FindOrCreateSubkey(const std::wstring& name);
  // Walks a backslash-separated path; null when any part is missing.
  RegistryKeyNode* FindPath(const std::wstring& path);
  RegistryKeyNode* CreatePath(const std::wstring& path);
  bool RemovePath(const std::wstring& path);

  const RegistryValue* FindValue(const std::wstring& name) const;
  void SetValue(RegistryValue value);  // a later value of the same name replaces the earlier
  void RemoveValue(const std::wstring& name);

 private:
  std::wstring name_;
  std::vector<std::unique_ptr<RegistryKeyNode>> subkeys_;
  // Subkeys by lower-case name: a server with a thousand adapters is looked up as fast as one with five.
  std::unordered_map<std::wstring, RegistryKeyNode*> subkeyIndex_;
  std::vector<RegistryValue> values_;
};

// Registry value types as the registry numbers them.
namespace regtype {
constexpr std::uint32_t None = 0;
constexpr std::uint32_t String = 1;
constexpr std::uint32_t ExpandString = 2;
constexpr std::uint32_t Binary = 3;
constexpr std::uint32_t Dword = 4;
constexpr std::uint32_t MultiString = 7;
constexpr std::uint32_t Qword = 11;
}  // namespace regtype
