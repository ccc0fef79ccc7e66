// Faults a lab server can be told to show (faults.conf of a lab server), so that failure paths can be rehearsed.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "common/status.h"

struct LabServerFaults {
  bool unreachable = false;                       // connect: 53; service manager: 1722
  Status registryConnectError = status::Success;  // the registry connection fails with this code
  Status serviceManagerError = status::Success;   // OpenSCManager fails with this code
  std::vector<std::wstring> deniedKeys;           // paths below HKEY_LOCAL_MACHINE: opening one gives 5
  std::vector<std::wstring> deniedServices;       // opening one gives 5
  std::vector<std::wstring> timedOutServices;     // interrogating one gives 1053
  std::vector<std::wstring> busyServices;         // interrogating one gives 1061
  std::chrono::nanoseconds latency{0};            // added to every remote call to the server
  // The server's wires (live link probes), each keyed by connection name, compared ignoring case.
  std::vector<std::wstring> downLinks;                // link-down: the adapter is disconnected
  bool echoBlocked = false;                           // echo-blocked: answers no echo on any adapter
  std::map<std::wstring, int> echoLoss;               // echo-loss: the first N of every three echoes lost
  std::map<std::wstring, std::uint32_t> echoDelayMs;  // echo-delay-ms: the round trip on that link

  // Key paths and service names compare ignoring case, as the registry and the service manager do.
  bool DeniesKey(const std::wstring& pathBelowLocalMachine) const;
  bool DeniesService(const std::wstring& name) const;
  bool TimesOut(const std::wstring& service) const;
  bool IsBusy(const std::wstring& service) const;
  bool LinkDown(const std::wstring& connectionName) const;
  int EchoLoss(const std::wstring& connectionName) const;
  std::uint32_t EchoDelayMs(const std::wstring& connectionName) const;
};

// The faults of every server of a lab, by server name (ignoring case); a server without any shows none.
class LabFaultTable {
 public:
  void Set(const std::wstring& server, LabServerFaults faults);
  const LabServerFaults& Of(const std::wstring& server) const;

 private:
  std::map<std::wstring, LabServerFaults> faults_;  // by lower-case name
};

// A key path in the one form the lab compares: lower-case, parts joined by single backslashes,
// none leading or trailing ("SOFTWARE\\Zandor\\" and "software\\zandor" are the same key).
std::wstring NormalizedKeyPath(const std::wstring& path);

struct LabFaultsError {
  int line = 0;  // 1-based
  std::string reason;
};

// "key = value" lines, '#' comments and blank lines (docs/lab.md). An unknown key or a bad value
// stops the read with its line number and leaves `faults` untouched.
bool ReadServerFaults(const std::string& bytes, LabServerFaults* faults, LabFaultsError* error);
