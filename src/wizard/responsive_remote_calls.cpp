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

ResponsiveRemoteCalls::ResponsiveRemoteCalls(Platform& base, std::function<void()> pump)
    : thread_(std::move(pump)),
      registry_(base.registry, thread_),
      services_(base.services, thread_),
      gathering_{registry_, services_, base.files, base.machine, base.processes, base.network} {}
