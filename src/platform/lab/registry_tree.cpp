// A server's HKEY_LOCAL_MACHINE held in memory.
#include "platform/lab/registry_tree.h"

#include <algorithm>

namespace {
std::vector<std::wstring> SplitKeyPath(const std::wstring& path) {
  std::vector<std::wstring> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t end = std::min(path.find(L'\\', start), path.size());
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// The registry compares names in upper case, so "_Team" sorts after "MIRROR", not before it as
// in lower case. Letters beyond ASCII are compared as they are.
std::wstring SortKey(std::wstring name) {
  for (wchar_t& c : name) {
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  }
  return name;
}
}  // namespace

RegistryKeyNode::~RegistryKeyNode() {
  std::vector<std::unique_ptr<RegistryKeyNode>> pending;
  auto detachSubkeys = [&pending](RegistryKeyNode& key) {
    for (auto& entry : key.subkeys_) pending.push_back(std::move(entry.second));
    key.subkeys_.clear();
  };
  detachSubkeys(*this);
  while (!pending.empty()) {
    std::unique_ptr<RegistryKeyNode> key = std::move(pending.back());
    pending.pop_back();
    detachSubkeys(*key);
  }
}

const std::vector<RegistryKeyNode*>& RegistryKeyNode::Subkeys() const {
  if (enumerationStale_) {
    enumeration_.clear();
    enumeration_.reserve(subkeys_.size());
    for (const auto& entry : subkeys_) enumeration_.push_back(entry.second.get());
    enumerationStale_ = false;
  }
  return enumeration_;
}

RegistryKeyNode* RegistryKeyNode::FindSubkey(const std::wstring& name) const {
  const auto it = subkeys_.find(SortKey(name));
  return it == subkeys_.end() ? nullptr : it->second.get();
}

RegistryKeyNode* RegistryKeyNode::FindOrCreateSubkey(const std::wstring& name) {
  auto& slot = subkeys_[SortKey(name)];
  if (!slot) {
    slot = std::make_unique<RegistryKeyNode>(name);
    enumerationStale_ = true;
  }
  return slot.get();
}

RegistryKeyNode* RegistryKeyNode::FindPath(const std::wstring& path) {
  RegistryKeyNode* key = this;
  for (const auto& part : SplitKeyPath(path)) {
    key = key->FindSubkey(part);
    if (key == nullptr) return nullptr;
  }
  return key;
}

RegistryKeyNode* RegistryKeyNode::CreatePath(const std::wstring& path) {
  RegistryKeyNode* key = this;
  for (const auto& part : SplitKeyPath(path)) key = key->FindOrCreateSubkey(part);
  return key;
}

bool RegistryKeyNode::RemovePath(const std::wstring& path) {
  auto parts = SplitKeyPath(path);
  if (parts.empty()) return false;
  const std::wstring last = parts.back();
  parts.pop_back();
  RegistryKeyNode* parent = this;
  for (const auto& part : parts) {
    parent = parent->FindSubkey(part);
    if (parent == nullptr) return false;
  }
  if (parent->subkeys_.erase(SortKey(last)) == 0) return false;
  parent->enumerationStale_ = true;
  return true;
}

const RegistryValue* RegistryKeyNode::FindValue(const std::wstring& name) const {
  const auto it = values_.find(SortKey(name));
  return it == values_.end() ? nullptr : &it->second;
}

void RegistryKeyNode::SetValue(RegistryValue value) {
  std::wstring key = SortKey(value.name);
  if (const auto it = values_.find(key); it != values_.end()) {
    it->second.type = value.type;
    it->second.data = std::move(value.data);
    return;
  }
  values_.emplace(std::move(key), std::move(value));
}

void RegistryKeyNode::RemoveValue(const std::wstring& name) { values_.erase(SortKey(name)); }
