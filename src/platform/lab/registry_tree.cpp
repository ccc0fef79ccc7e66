// A server's HKEY_LOCAL_MACHINE held in memory.
#include "platform/lab/registry_tree.h"

#include <algorithm>

#include "common/text_case.h"

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
}  // namespace

RegistryKeyNode* RegistryKeyNode::FindSubkey(const std::wstring& name) const {
  const auto it = subkeyIndex_.find(ToLowerAscii(name));
  return it == subkeyIndex_.end() ? nullptr : it->second;
}

RegistryKeyNode* RegistryKeyNode::FindOrCreateSubkey(const std::wstring& name) {
  if (RegistryKeyNode* found = FindSubkey(name)) return found;
  subkeys_.push_back(std::make_unique<RegistryKeyNode>(name));
  subkeyIndex_[ToLowerAscii(name)] = subkeys_.back().get();
  return subkeys_.back().get();
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
  auto& siblings = parent->subkeys_;
  const auto it = std::find_if(siblings.begin(), siblings.end(),
                               [&](const auto& key) { return EqualsIgnoringAsciiCase(key->name_, last); });
  if (it == siblings.end()) return false;
  parent->subkeyIndex_.erase(ToLowerAscii(last));
  siblings.erase(it);
  return true;
}

const RegistryValue* RegistryKeyNode::FindValue(const std::wstring& name) const {
  for (const auto& value : values_) {
    if (EqualsIgnoringAsciiCase(value.name, name)) return &value;
  }
  return nullptr;
}

void RegistryKeyNode::SetValue(RegistryValue value) {
  for (auto& existing : values_) {
    if (EqualsIgnoringAsciiCase(existing.name, value.name)) {
      existing.type = value.type;
      existing.data = std::move(value.data);
      return;
    }
  }
  values_.push_back(std::move(value));
}

void RegistryKeyNode::RemoveValue(const std::wstring& name) {
  values_.erase(std::remove_if(values_.begin(), values_.end(),
                               [&](const RegistryValue& value) { return EqualsIgnoringAsciiCase(value.name, name); }),
                values_.end());
}
