// A server's HKEY_LOCAL_MACHINE held in memory: keys, values and their raw data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct RegistryValue {
  std::wstring name;  // empty for the default value
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;  // exactly the bytes the registry holds
};

// What the registry refuses to hold: a key name longer than 255 characters, and a key more
// than 512 levels below its hive's root.
namespace registry_limits {
constexpr std::size_t kMaxKeyNameChars = 255;
constexpr std::size_t kMaxKeyDepth = 512;
}  // namespace registry_limits

// Names are kept as first written and looked up ignoring case, as the registry does. Subkeys
// enumerate in the registry's own order, sorted by their names in upper case, whatever order
// they were created in: an adapter added by a later export takes its place among the others.
class RegistryKeyNode {
 public:
  explicit RegistryKeyNode(std::wstring name) : name_(std::move(name)) {}
  // Takes the tree apart with a loop: a chain of keys of any depth never recurses as deep as it is.
  ~RegistryKeyNode();
  RegistryKeyNode(const RegistryKeyNode&) = delete;
  RegistryKeyNode& operator=(const RegistryKeyNode&) = delete;

  const std::wstring& Name() const { return name_; }
  // In enumeration order.
  const std::vector<RegistryKeyNode*>& Subkeys() const;

  RegistryKeyNode* FindSubkey(const std::wstring& name) const;
  RegistryKeyNode* FindOrCreateSubkey(const std::wstring& name);
  // Walks a backslash-separated path; null when any part is missing.
  RegistryKeyNode* FindPath(const std::wstring& path);
  RegistryKeyNode* CreatePath(const std::wstring& path);
  bool RemovePath(const std::wstring& path);

  // The values, as RegEnumValueW enumerates them: in the order they were set, until one is removed.
  const std::vector<RegistryValue>& Values() const { return values_; }
  const RegistryValue* FindValue(const std::wstring& name) const;
  void SetValue(RegistryValue value);  // a later value of the same name replaces the earlier
  void RemoveValue(const std::wstring& name);

 private:
  // One entry of the value index: the hash of the name as compared (ignoring case) and where
  // the value is in values_, plus one; 0 marks a free slot.
  struct ValueSlot {
    std::uint32_t hash = 0;
    std::uint32_t position = 0;
  };
  // The slot that holds `name`, or the free slot where it would go.
  std::size_t ValueSlotOf(const std::wstring& name, std::uint32_t hash) const;
  void GrowValueIndex();

  std::wstring name_;
  // By upper-case name: the map's order is the registry's, and a key with a thousand subkeys is
  // looked up as fast as one with five.
  std::map<std::wstring, std::unique_ptr<RegistryKeyNode>> subkeys_;
  // subkeys_ in order, for enumeration by index; made again after a subkey came or went.
  mutable std::vector<RegistryKeyNode*> enumeration_;
  mutable bool enumerationStale_ = false;
  // The values in one array and an open-addressed index over it: a key of a hundred thousand
  // values is read and searched in time proportional to them, with no node per value to chase.
  // Values keep the order they were set in; removal moves the last one into the gap.
  std::vector<RegistryValue> values_;
  std::vector<ValueSlot> valueIndex_;  // a power of two long, at most half full
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
