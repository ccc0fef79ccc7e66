// Step 1's two servers read at once in the window: Node 1 as a read on its own goes, Node 2 meanwhile beside it.
#pragma once

#include <memory>
#include <vector>

#include "wizard/node_reader.h"

class InstallLog;
class OwnerlessMessageBox;
class ResponsiveRemoteCalls;
struct Platform;

// Node 1 is read on the window's thread (its remote calls through `calls`), its lines logged and its boxes shown
// the moment they come, exactly as when it was read alone. Node 2 is read meanwhile on a thread of its own through
// `platform`, its lines and boxes kept; once Node 1 has been read they are written and shown in the order they
// came, the window repainting while Node 2 finishes. Every box thus shows in the order and never later than a read
// of one server after the other would show it. When Node 1 fails, Node 2's read is let go: it ends on its own
// thread, and what it found is dropped.
class NodePairReader : public NodeReader {
 public:
  NodePairReader(Platform& platform, InstallLog& log, OwnerlessMessageBox& box, ResponsiveRemoteCalls& calls);
  // Waits for Node 2's reads that were let go and have not ended yet.
  ~NodePairReader() override;
  NodePairReader(const NodePairReader&) = delete;
  NodePairReader& operator=(const NodePairReader&) = delete;

  NodesRead ReadNodes(const NodePairNames& names, cNode& node1, cNode& node2) override;

 private:
  class SideRead;

  Platform& platform_;
  InstallLog& log_;
  OwnerlessMessageBox& box_;
  ResponsiveRemoteCalls& calls_;
  std::vector<std::unique_ptr<SideRead>> letGo_;
};
