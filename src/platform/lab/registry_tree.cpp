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
wchar_t UpperAscii(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

std::wstring SortKey(std::wstring name) {
  for (wchar_t& c : name) c = UpperAscii(c);
  return name;
}

// FNV-1a over the name in upper case, so that names equal ignoring case hash alike.
std::uint32_t NameHash(const std::wstring& name) {
  std::uint32_t hash = 2166136261u;
  for (const wchar_t c : name) hash = (hash ^ static_cast<std::uint32_t>(UpperAscii(c))) * 16777619u;
  return hash;
}

bool SameName(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  }
  return true;
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

std::size_t RegistryKeyNode::ValueSlotOf(const std::wstring& name, std::uint32_t hash) const {
  const std::size_t mask = valueIndex_.size() - 1;
  for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
    const ValueSlot& entry = valueIndex_[slot];
    if (entry.position == 0 || (entry.hash == hash && SameName(values_[entry.position - 1].name, name))) return slot;
  }
}

void RegistryKeyNode::GrowValueIndex() {
  std::vector<ValueSlot> old(std::max<std::size_t>(16, valueIndex_.size() * 2));
  old.swap(valueIndex_);
  const std::size_t mask = valueIndex_.size() - 1;
  for (const ValueSlot& entry : old) {
    if (entry.position == 0) continue;
    std::size_t slot = entry.hash & mask;
    while (valueIndex_[slot].position != 0) slot = (slot + 1) & mask;
    valueIndex_[slot] = entry;
  }
}

const RegistryValue* RegistryKeyNode::FindValue(const std::wstring& name) const {
  if (values_.empty()) return nullptr;
  const ValueSlot& entry = valueIndex_[ValueSlotOf(name, NameHash(name))];
  return entry.position == 0 ? nullptr : &values_[entry.position - 1];
}

void RegistryKeyNode::SetValue(RegistryValue value) {
  if ((values_.size() + 1) * 2 > valueIndex_.size()) GrowValueIndex();
  const std::uint32_t hash = NameHash(value.name);
  ValueSlot& entry = valueIndex_[ValueSlotOf(value.name, hash)];
  if (entry.position != 0) {
    RegistryValue& existing = values_[entry.position - 1];
    existing.type = value.type;
    existing.data = std::move(value.data);
    return;
  }
  values_.push_back(std::move(value));
  entry = {hash, static_cast<std::uint32_t>(values_.size())};
}

void RegistryKeyNode::RemoveValue(const std::wstring& name) {
  if (values_.empty()) return;
  std::size_t slot = ValueSlotOf(name, NameHash(name));
  const std::uint32_t position = valueIndex_[slot].position;
  if (position == 0) return;
  // The last value moves into the gap, and its slot is told.
  if (position != values_.size()) {
    RegistryValue& last = values_.back();
    valueIndex_[ValueSlotOf(last.name, NameHash(last.name))].position = position;
    values_[position - 1] = std::move(last);
  }
  values_.pop_back();
  // The slot is freed by moving later entries of its run back, so that every search still
  // finds its name before the first free slot.
  const std::size_t mask = valueIndex_.size() - 1;
  for (std::size_t next = (slot + 1) & mask; valueIndex_[next].position != 0; next = (next + 1) & mask) {
    const std::size_t home = valueIndex_[next].hash & mask;
    const bool homeBetween = slot <= next ? (slot < home && home <= next) : (slot < home || home <= next);
    if (homeBetween) continue;
    valueIndex_[slot] = valueIndex_[next];
    slot = next;
  }
  valueIndex_[slot] = {};
}
