// Servers read the way Step 1 reads them, but at the same time.
#include "cli/server_reading.h"

#include <functional>

#include "cli/cli_output.h"
#include "cli/side_by_side.h"
#include "cli/stage_watch.h"
#include "common/text_format.h"
#include "nodes/cnode.h"
#include "wizard/wizard_dialog.h"

namespace {
void ReadServer(Platform& platform, CliOutput& output, ServerReading& reading) {
  const std::wstring& host = reading.hostName;
  StageWatch watch(platform, [&](const wchar_t* stage) { output.Progress(host + L": " + stage); });
  cNode node(watch.platform(), reading.log, reading.log);
  node.HostName = host;
  node.AutoStartDomain = reading.autoStartDomain;
  reading.status = node.GetNodeInfo();
  reading.record = node;
  output.Progress(reading.status == status::Success
                      ? host + L": read"
                      : FormatText(L"%s: could not be read, rc = %ld", {host, reading.status}));
}
}  // namespace

void ReadServersSideBySide(Platform& platform, CliOutput& output, std::vector<ServerReading*> readings) {
  std::vector<std::function<void()>> jobs;
  for (ServerReading* reading : readings)
    jobs.push_back([&platform, &output, reading] { ReadServer(platform, output, *reading); });
  RunSideBySide(jobs);
}

Status SideBySideNodeReader::ReadNode(cNode& node) {
  const bool isNode2 = &node == &dialog_.Node2Info;
  if (isNode2 && !node2Pending_) return node.GetNodeInfo();
  if (!isNode2) {
    // Node 2 goes by its entry: the dialog names its record only once Node 1 has been read.
    for (ServerReading& reading : readings_) {
      reading.status = status::Success;
      reading.record = {};
      reading.log.Clear();
    }
    readings_[0].hostName = node.HostName;
    readings_[1].hostName = dialog_.Node2HostName;
    readings_[0].autoStartDomain = readings_[1].autoStartDomain = node.AutoStartDomain;
    ReadServersSideBySide(platform_, output_, {&readings_[0], &readings_[1]});
    node2Pending_ = true;
  } else {
    node2Pending_ = false;
  }
  ServerReading& reading = readings_[isNode2 ? 1 : 0];
  static_cast<NodeRecord&>(node) = reading.record;
  reading.log.WriteTo(log_, output_);
  return reading.status;
}
