// What may still stop Step 3 once its own checks have passed, before it writes anything.
#pragma once

#include "common/entries.h"
#include "nodes/node_record.h"

// A run without a window puts its own cluster readiness checks here (cli/generate_command.cpp),
// which print instead of asking; without a gate Step 3 runs the checks itself and asks in a box.
class DefinitionGate {
 public:
  virtual ~DefinitionGate() = default;
  // False stops Step 3 there: it has told the user why.
  virtual bool MayGenerate(const Entries& entries, const NodeRecord& node1, const NodeRecord& node2) = 0;
};
