// The values both report writers show, named once: the entries, the services, a link's network.
#pragma once

#include <string>
#include <vector>

#include "common/entries.h"
#include "nodes/node_record.h"

namespace report {

// One of the ten entries: its JSON key, the window's label for it, and what was typed.
struct EntryField {
  const char* key;
  const wchar_t* label;
  const std::wstring* value;
};
std::vector<EntryField> EntryFields(const Entries& entries);

// One of the four AutoStart services of a node: its JSON key, the list's label, its state.
struct ServiceField {
  const char* key;
  const wchar_t* label;
  const std::wstring* state;
};
std::vector<ServiceField> ServiceFields(const NodeRecord& node);

// The link's network (address AND mask) where both are usable, as the checks saw it; empty otherwise.
std::wstring LinkNetworkText(const cNIC& nic);

}  // namespace report
