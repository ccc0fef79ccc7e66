// Step 1's two servers read at once in the window: Node 1 as a read on its own goes, Node 2 meanwhile beside it.
#include "wizard/node_pair_reader.h"

#include <atomic>
#include <thread>

#include "nodes/buffered_log.h"
#include "nodes/cnode.h"
#include "wizard/responsive_remote_calls.h"

// Node 2 read on a thread of its own into a record, a log and boxes of its own.
class NodePairReader::SideRead {
 public:
  // Starts from `record` as it stands, as a read into the same record does: a value this read does not reach stays.
  SideRead(Platform& platform, const NodeRecord& record, const std::wstring& hostName,
           const std::wstring& autoStartDomain)
      : node_(platform, log_, log_) {
    static_cast<NodeRecord&>(node_) = record;
    node_.HostName = hostName;
    node_.AutoStartDomain = autoStartDomain;
    thread_ = std::thread([this] {
      status_ = node_.GetNodeInfo();
      ended_ = true;
    });
  }
  ~SideRead() {
    if (thread_.joinable()) thread_.join();
  }
  SideRead(const SideRead&) = delete;
  SideRead& operator=(const SideRead&) = delete;

  bool Ended() const { return ended_; }
  // Waits for the read to end; its record, log and code are the caller's from then on.
  Status Join() {
    thread_.join();
    return status_;
  }
  const cNode& Node() const { return node_; }
  BufferedLog& Log() { return log_; }

 private:
  BufferedLog log_;
  cNode node_;
  Status status_ = status::Success;
  std::atomic<bool> ended_{false};
  // Last, so that it starts once everything it uses exists.
  std::thread thread_;
};

NodePairReader::NodePairReader(Platform& platform, InstallLog& log, OwnerlessMessageBox& box,
                               ResponsiveRemoteCalls& calls)
    : platform_(platform), log_(log), box_(box), calls_(calls) {}

NodePairReader::~NodePairReader() = default;

NodesRead NodePairReader::ReadNodes(const NodePairNames& names, cNode& node1, cNode& node2) {
  std::erase_if(letGo_, [](const std::unique_ptr<SideRead>& read) { return read->Ended(); });
  auto side = std::make_unique<SideRead>(platform_, node2, names.node2, names.autoStartDomain);
  node1.HostName = names.node1;
  node1.AutoStartDomain = names.autoStartDomain;
  if (const Status rc = node1.GetNodeInfo(); rc != status::Success) {
    letGo_.push_back(std::move(side));
    return {rc, &node1};
  }
  const Status rc = calls_.WhilePumping([&] { return side->Join(); });
  // The record as a read of its own leaves it, complete or not.
  static_cast<NodeRecord&>(node2) = side->Node();
  side->Log().WriteTo(log_, box_);
  if (rc != status::Success) return {rc, &node2};
  return {};
}
