// The lab's wires: which adapters and hosts share a segment, and what an echo between them meets.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/lab/lab_faults.h"
#include "platform/network.h"

class RegistryKeyNode;

// One network adapter of a lab server, as its registry describes it.
struct LabAdapter {
  std::wstring server;
  std::wstring connectionName;  // as the server's connection is named ("HB1", "Local Area Connection 6")
  std::wstring guid;
  std::vector<std::wstring> addresses;
};

// By default every adapter sits on the segment named after its connection (ignoring case: all HB1
// adapters share one wire); a cable takes two adapters off theirs and joins them on a wire of their
// own. A host is another machine on a segment that answers echoes for its address (a gateway, a
// switch, a machine that holds a managed address). An echo leaves by the local adapter that holds
// its source address and is answered only by an adapter or host on the same wire that holds its
// destination (the strong host model); a lost echo takes its whole time-out, an answer its round trip.
class LabNetwork : public Network {
 public:
  // Waits a lost echo or a round trip out; real time unless a test says otherwise.
  using Wait = std::function<void(std::uint32_t milliseconds)>;

  explicit LabNetwork(std::wstring localServer);

  // Every adapter with a connection name under the network class key of `root`, with the
  // addresses of its TCP/IP interface key.
  void AddServerAdapters(const std::wstring& server, RegistryKeyNode& root);
  void AddHost(const std::wstring& address, const std::wstring& segment);
  // False when either adapter is not one of the lab's (no server of that name, or no such connection).
  bool Plug(const std::wstring& serverA, const std::wstring& linkA, const std::wstring& serverB,
            const std::wstring& linkB);
  void SetFaults(const std::wstring& server, const LabServerFaults& faults);
  // Empty: real time again.
  void SetWait(Wait wait);

  Status QueryAdapterConnected(const std::wstring& interfaceGuid, bool* connected) override;
  Status Echo(const std::wstring& source, const std::wstring& destination, std::uint32_t timeoutMs,
              std::uint32_t* roundTripMs) override;

 private:
  struct Placed {
    LabAdapter adapter;
    std::wstring segment;
  };
  struct Host {
    std::wstring address;
    std::wstring segment;
  };
  Placed* FindAdapter(const std::wstring& server, const std::wstring& connectionName);
  bool IsDown(const Placed& placed) const;
  // What happens to one echo, decided under the lock: answered with a round trip, or lost.
  bool Decide(const Placed& from, const std::wstring& source, const std::wstring& destination, std::uint32_t timeoutMs,
              std::uint32_t* delayMs);

  std::wstring localServer_;
  mutable std::mutex mutex_;  // echoes are sent side by side; everything below is read and counted under it
  std::vector<Placed> adapters_;
  std::vector<Host> hosts_;
  LabFaultTable faults_;
  int cables_ = 0;
  // Echoes sent from one address to another so far: "the first N of every three" counts these.
  std::map<std::pair<std::wstring, std::wstring>, std::uint64_t> echoCounts_;
  Wait wait_;
};
