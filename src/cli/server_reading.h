// Servers read the way Step 1 reads them, but at the same time: with no box to show mid-way, a run
// without a window need not wait for one server before it asks the other.
#pragma once

#include <string>
#include <vector>

#include "cli/buffered_log.h"
#include "common/status.h"
#include "nodes/node_record.h"
#include "wizard/node_reader.h"

class CliOutput;
class WizardDialog;
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

// Step 1's gathering for a dialog driven without a window: asked for Node 1, it reads both servers
// at once; asked for Node 2, it hands over what was read. Each node's log lines are written when its
// turn comes, so the log reads as the window's: Node 1's lines, then Node 2's (none when Node 1 failed).
class SideBySideNodeReader : public NodeReader {
 public:
  SideBySideNodeReader(Platform& platform, CliOutput& output, InstallLog& log, WizardDialog& dialog)
      : platform_(platform), output_(output), log_(log), dialog_(dialog) {}

  Status ReadNode(cNode& node) override;

 private:
  Platform& platform_;
  CliOutput& output_;
  InstallLog& log_;
  WizardDialog& dialog_;
  ServerReading readings_[2];
  bool node2Pending_ = false;
};
