// The lab's wires: which adapters and hosts share a segment, and what an echo between them meets.
#include "platform/lab/lab_network.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "common/text_case.h"
#include "common/text_encoding.h"
#include "platform/lab/registry_tree.h"

namespace {

// Where a server's registry names its adapters and keeps their addresses, as the gathering reads them.
constexpr wchar_t kNetworkClassKey[] =
    L"SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
constexpr wchar_t kInterfacesKey[] = L"SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";
constexpr wchar_t kUnassigned[] = L"0.0.0.0";

// Four decimal numbers 0-255 joined by dots, as IcmpSendEcho2Ex's callers must give.
bool IsDottedQuad(const std::wstring& text) {
  int parts = 0;
  std::size_t start = 0;
  for (;;) {
    const std::size_t dot = text.find(L'.', start);
    const std::wstring part = text.substr(start, dot == std::wstring::npos ? std::wstring::npos : dot - start);
    if (part.empty() || part.size() > 3) return false;
    int value = 0;
    for (const wchar_t c : part) {
      if (c < L'0' || c > L'9') return false;
      value = value * 10 + (c - L'0');
    }
    if (value > 255) return false;
    ++parts;
    if (dot == std::wstring::npos) break;
    start = dot + 1;
  }
  return parts == 4;
}

std::vector<std::wstring> Strings(const RegistryValue* value) {
  if (value == nullptr) return {};
  const std::wstring text = WideFromUtf16LeBytes(value->data.data(), value->data.size());
  std::vector<std::wstring> strings;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(L'\0', start);
    if (end == std::wstring::npos) end = text.size();
    if (end > start) strings.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return strings;
}

void RealTimeWait(std::uint32_t milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

}  // namespace

LabNetwork::LabNetwork(std::wstring localServer) : localServer_(std::move(localServer)), wait_(RealTimeWait) {}

void LabNetwork::AddServerAdapters(const std::wstring& server, RegistryKeyNode& root) {
  RegistryKeyNode* classKey = root.FindPath(kNetworkClassKey);
  RegistryKeyNode* interfaces = root.FindPath(kInterfacesKey);
  if (classKey == nullptr) return;
  const std::lock_guard<std::mutex> lock(mutex_);
  for (RegistryKeyNode* adapterKey : classKey->Subkeys()) {
    RegistryKeyNode* connection = adapterKey->FindSubkey(L"Connection");
    const std::vector<std::wstring> names = Strings(connection ? connection->FindValue(L"Name") : nullptr);
    if (names.empty()) continue;
    LabAdapter adapter{server, names.front(), adapterKey->Name(), {}};
    if (RegistryKeyNode* tcpip = interfaces ? interfaces->FindSubkey(adapter.guid) : nullptr) {
      for (const wchar_t* valueName : {L"IPAddress", L"DhcpIPAddress"}) {
        for (const std::wstring& address : Strings(tcpip->FindValue(valueName))) {
          if (address != kUnassigned) adapter.addresses.push_back(address);
        }
      }
    }
    adapters_.push_back({std::move(adapter), ToLowerAscii(names.front())});
  }
}

void LabNetwork::AddHost(const std::wstring& address, const std::wstring& segment) {
  const std::lock_guard<std::mutex> lock(mutex_);
  hosts_.push_back({address, ToLowerAscii(segment)});
}

LabNetwork::Placed* LabNetwork::FindAdapter(const std::wstring& server, const std::wstring& connectionName) {
  for (Placed& placed : adapters_) {
    if (EqualsIgnoringAsciiCase(placed.adapter.server, server) &&
        EqualsIgnoringAsciiCase(placed.adapter.connectionName, connectionName)) {
      return &placed;
    }
  }
  return nullptr;
}

bool LabNetwork::Plug(const std::wstring& serverA, const std::wstring& linkA, const std::wstring& serverB,
                      const std::wstring& linkB) {
  const std::lock_guard<std::mutex> lock(mutex_);
  Placed* a = FindAdapter(serverA, linkA);
  Placed* b = FindAdapter(serverB, linkB);
  if (a == nullptr || b == nullptr) return false;
  // A name no connection can have: a segment of these two alone.
  a->segment = b->segment = L"\n" + std::to_wstring(++cables_);
  return true;
}

void LabNetwork::SetFaults(const std::wstring& server, const LabServerFaults& faults) {
  const std::lock_guard<std::mutex> lock(mutex_);
  faults_.Set(server, faults);
}

void LabNetwork::SetWait(Wait wait) {
  const std::lock_guard<std::mutex> lock(mutex_);
  wait_ = wait ? std::move(wait) : Wait(RealTimeWait);
}

bool LabNetwork::IsDown(const Placed& placed) const {
  return faults_.Of(placed.adapter.server).LinkDown(placed.adapter.connectionName);
}

Status LabNetwork::QueryAdapterConnected(const std::wstring& interfaceGuid, bool* connected) {
  const std::lock_guard<std::mutex> lock(mutex_);
  for (const Placed& placed : adapters_) {
    if (EqualsIgnoringAsciiCase(placed.adapter.server, localServer_) &&
        EqualsIgnoringAsciiCase(placed.adapter.guid, interfaceGuid)) {
      *connected = !IsDown(placed);
      return status::Success;
    }
  }
  // What ConvertInterfaceGuidToLuid answers for a GUID that names no adapter of this computer.
  return status::InvalidParameter;
}

bool LabNetwork::Decide(const Placed& from, const std::wstring& source, const std::wstring& destination,
                        std::uint32_t timeoutMs, std::uint32_t* delayMs) {
  const LabServerFaults& sender = faults_.Of(from.adapter.server);
  int lost = sender.EchoLoss(from.adapter.connectionName);
  std::uint32_t delay = sender.EchoDelayMs(from.adapter.connectionName);
  bool answers = std::any_of(hosts_.begin(), hosts_.end(), [&](const Host& host) {
    return host.segment == from.segment && host.address == destination;
  });
  for (const Placed& placed : adapters_) {
    if (answers) break;
    if (&placed == &from || placed.segment != from.segment) continue;
    const auto& held = placed.adapter.addresses;
    if (std::find(held.begin(), held.end(), destination) == held.end()) continue;
    const LabServerFaults& receiver = faults_.Of(placed.adapter.server);
    if (IsDown(placed) || receiver.echoBlocked) continue;
    answers = true;
    lost = std::max(lost, receiver.EchoLoss(placed.adapter.connectionName));
    delay += receiver.EchoDelayMs(placed.adapter.connectionName);
  }
  const std::uint64_t count = echoCounts_[{source, destination}]++;
  if (!answers || static_cast<int>(count % 3) < lost || delay > timeoutMs) return false;
  *delayMs = delay;
  return true;
}

Status LabNetwork::Echo(const std::wstring& source, const std::wstring& destination, std::uint32_t timeoutMs,
                        std::uint32_t* roundTripMs) {
  if (!IsDottedQuad(source) || !IsDottedQuad(destination)) return status::InvalidParameter;
  Wait wait;
  std::uint32_t delay = 0;
  bool answered = false;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto from = std::find_if(adapters_.begin(), adapters_.end(), [&](const Placed& placed) {
      const auto& held = placed.adapter.addresses;
      return EqualsIgnoringAsciiCase(placed.adapter.server, localServer_) &&
             std::find(held.begin(), held.end(), source) != held.end();
    });
    // Windows binds the echo to the source address: one this computer does not hold can't be used.
    if (from == adapters_.end()) return status::InvalidParameter;
    // A disconnected adapter loses its addresses, and the echo can't be sent at all.
    if (IsDown(*from)) return status::IpGeneralFailure;
    answered = Decide(*from, source, destination, timeoutMs, &delay);
    wait = wait_;
  }
  // The wait is made outside the lock, so that echoes sent side by side wait side by side.
  if (!answered) {
    wait(timeoutMs);
    return status::IpReqTimedOut;
  }
  if (delay > 0) wait(delay);
  *roundTripMs = delay;
  return status::Success;
}
