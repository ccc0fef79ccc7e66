// Servers read the way Step 1 reads them, at the same time, with where each has got to shown on a terminal.
#include "cli/server_reading.h"

#include <functional>

#include "cli/cli_output.h"
#include "cli/side_by_side.h"
#include "cli/stage_watch.h"
#include "common/text_format.h"
#include "nodes/cnode.h"

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

NodesRead SideBySideNodeReader::ReadNodes(const NodePairNames& names, cNode& node1, cNode& node2) {
  ServerReading readings[2];
  readings[0].hostName = names.node1;
  readings[1].hostName = names.node2;
  readings[0].autoStartDomain = readings[1].autoStartDomain = names.autoStartDomain;
  ReadServersSideBySide(platform_, output_, {&readings[0], &readings[1]});
  cNode* nodes[] = {&node1, &node2};
  for (int i = 0; i < 2; ++i) {
    static_cast<NodeRecord&>(*nodes[i]) = readings[i].record;
    readings[i].log.WriteTo(log_, box_);
    if (readings[i].status != status::Success) return {readings[i].status, nodes[i]};
  }
  return {};
}
