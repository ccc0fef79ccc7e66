// How Step 1 has a server read: by default each in turn, through GetNodeInfo.
#pragma once

#include "common/status.h"

class cNode;

// A run without a window has no box to show mid-way and reads both servers at once; it hands the
// dialog one that does (cli/server_reading.h).
class NodeReader {
 public:
  virtual ~NodeReader() = default;
  // Fills the node's record as GetNodeInfo would, and returns its code.
  virtual Status ReadNode(cNode& node) = 0;
};
