// The gathering's remote calls run on a worker thread while the window's thread keeps the window painted.
#include "wizard/responsive_remote_calls.h"

#include <cassert>
#include <chrono>
#include <utility>

RemoteCallThread::RemoteCallThread(std::function<void()> pump) : pump_(std::move(pump)), worker_([this] { Serve(); }) {}

RemoteCallThread::~RemoteCallThread() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  callGiven_.notify_one();
  worker_.join();
}

Status RemoteCallThread::Run(const std::function<Status()>& call) {
  // A second call from inside the pump would take the worker while this one still holds it.
  assert(!inFlight_);
  inFlight_ = true;
  std::unique_lock<std::mutex> lock(mutex_);
  call_ = &call;
  ended_ = false;
  callGiven_.notify_one();
  // A call that answers within the interval is never paused for: on a quick network the window
  // sees nothing of this.
  while (!callEnded_.wait_for(lock, std::chrono::milliseconds(kPumpIntervalMs), [this] { return ended_; })) {
    lock.unlock();
    pump_();
    lock.lock();
  }
  const Status result = result_;
  lock.unlock();
  inFlight_ = false;
  return result;
}

void RemoteCallThread::Serve() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    callGiven_.wait(lock, [this] { return call_ != nullptr || stopping_; });
    if (call_ == nullptr) return;
    const std::function<Status()>& call = *call_;
    call_ = nullptr;
    lock.unlock();
    const Status result = call();
    lock.lock();
    result_ = result;
    ended_ = true;
    callEnded_.notify_one();
  }
}

// Each call below captures the caller's arguments by reference: Run returns only after the call has
// ended, so they outlive it.

Status ResponsiveRegistry::ConnectRegistry(const std::wstring& machineName, RegHandle* result) {
  return thread_.Run([&] { return inner_.ConnectRegistry(machineName, result); });
}

Status ResponsiveRegistry::OpenKey(RegHandle parent, const std::wstring& subKey, RegHandle* result) {
  return thread_.Run([&] { return inner_.OpenKey(parent, subKey, result); });
}

Status ResponsiveRegistry::EnumKey(RegHandle key, std::uint32_t index, std::uint32_t bufferChars, std::wstring* name) {
  return thread_.Run([&] { return inner_.EnumKey(key, index, bufferChars, name); });
}

Status ResponsiveRegistry::QueryValue(RegHandle key, const std::wstring& valueName, void* data,
                                      std::uint32_t* dataBytes) {
  return thread_.Run([&] { return inner_.QueryValue(key, valueName, data, dataBytes); });
}

Status ResponsiveRegistry::EnumValue(RegHandle key, std::uint32_t index, std::wstring* name, std::uint32_t* type,
                                     std::vector<std::uint8_t>* data) {
  return thread_.Run([&] { return inner_.EnumValue(key, index, name, type, data); });
}

Status ResponsiveRegistry::CloseKey(RegHandle key) {
  return thread_.Run([&] { return inner_.CloseKey(key); });
}

Status ResponsiveServiceControl::OpenServiceManager(const std::wstring& machine, ScHandle* result) {
  return thread_.Run([&] { return inner_.OpenServiceManager(machine, result); });
}

Status ResponsiveServiceControl::OpenNamedService(ScHandle manager, const std::wstring& serviceName, ScHandle* result) {
  return thread_.Run([&] { return inner_.OpenNamedService(manager, serviceName, result); });
}

Status ResponsiveServiceControl::Interrogate(ScHandle service, std::uint32_t* currentState) {
  return thread_.Run([&] { return inner_.Interrogate(service, currentState); });
}

Status ResponsiveServiceControl::CloseServiceHandle(ScHandle handle) {
  return thread_.Run([&] { return inner_.CloseServiceHandle(handle); });
}

ResponsiveRemoteCalls::ResponsiveRemoteCalls(Platform& base, std::function<void()> pump)
    : thread_(std::move(pump)),
      registry_(base.registry, thread_),
      services_(base.services, thread_),
      gathering_{registry_, services_, base.files, base.machine, base.processes, base.network} {}
