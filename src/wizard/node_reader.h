// How Step 1 has the two servers read.
#pragma once

#include <string>

#include "common/status.h"

class cNode;

// The servers Step 1 reads: the two host names typed, and the AutoStart domain whose services are asked for.
struct NodePairNames {
  std::wstring node1;
  std::wstring node2;
  std::wstring autoStartDomain;
};

// What reading the pair came to: 0, or the code of the node that failed (Node 1 first, as a read in turn finds it).
struct [[nodiscard]] NodesRead {
  Status status = status::Success;
  const cNode* failed = nullptr;  // null when both were read
};

// Both readers read the two servers at once: the window's (NodePairReader) and the command line's, which shows
// where each server's reading has got to (cli/server_reading.h).
class NodeReader {
 public:
  virtual ~NodeReader() = default;
  // Names and fills both records as GetNodeInfo would, and tells the user and the log exactly what a read of Node 1
  // and then Node 2 tells: Node 1's lines and boxes, then Node 2's. When Node 1 fails, Node 2's record, lines and
  // boxes are left as they were: nothing of it is shown or logged.
  virtual NodesRead ReadNodes(const NodePairNames& names, cNode& node1, cNode& node2) = 0;
};
