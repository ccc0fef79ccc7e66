// Servers read the way Step 1 reads them, at the same time, with where each has got to shown on a terminal.
#pragma once

#include <string>
#include <vector>

#include "common/status.h"
#include "nodes/buffered_log.h"
#include "nodes/node_record.h"
#include "wizard/node_reader.h"

class CliOutput;
struct Platform;

// One server read on a thread of its own: its record, its code, and its log lines and boxes,
// kept until they are written out together.
struct ServerReading {
  std::wstring hostName;
  std::wstring autoStartDomain;
  Status status = status::Success;
  NodeRecord record;
  BufferedLog log;
};

// Reads every server at once as GetNodeInfo does, each through `platform`, with a progress line
// per server and stage. Nothing is logged: each reading's lines wait in its own log.
void ReadServersSideBySide(Platform& platform, CliOutput& output, std::vector<ServerReading*> readings);

// Step 1's gathering for a dialog driven without a window: both servers read at once, with a progress line per
// server and stage; then Node 1's log lines and boxes are written, and Node 2's unless Node 1 failed.
class SideBySideNodeReader : public NodeReader {
 public:
  SideBySideNodeReader(Platform& platform, CliOutput& output, InstallLog& log, OwnerlessMessageBox& box)
      : platform_(platform), output_(output), log_(log), box_(box) {}

  NodesRead ReadNodes(const NodePairNames& names, cNode& node1, cNode& node2) override;

 private:
  Platform& platform_;
  CliOutput& output_;
  InstallLog& log_;
  OwnerlessMessageBox& box_;
};
