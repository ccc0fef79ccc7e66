// The gathering's remote calls run on a worker thread while the window's thread keeps the window painted.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "platform/platform.h"

// One long-lived worker thread that makes one call at a time for the window's thread. An unreachable
// server can hold a registry or service manager call for 20 s or more; made on the window's thread,
// that call would leave the window unpainted and taken for not responding. Here the window's thread
// waits for the call instead, and every kPumpIntervalMs meanwhile runs `pump`, which repaints the
// window and drops the user's input. The caller still sees each call return before it goes on, so
// everything the gathering logs or shows happens on the window's thread, in the same order as before.
class RemoteCallThread {
 public:
  static constexpr std::uint32_t kPumpIntervalMs = 25;

  explicit RemoteCallThread(std::function<void()> pump);
  // Joins the worker; no call can be in flight then, as Run returns only once its call has.
  ~RemoteCallThread();
  RemoteCallThread(const RemoteCallThread&) = delete;
  RemoteCallThread& operator=(const RemoteCallThread&) = delete;

  // Runs `call` on the worker and returns its result once it has ended. The call's arguments and
  // results are the caller's own, untouched by the caller until then; the mutex orders the worker's
  // writes before the caller's reads. One call at a time: `pump` must not start another.
  [[nodiscard]] Status Run(const std::function<Status()>& call);

 private:
  void Serve();

  std::function<void()> pump_;
  std::mutex mutex_;
  std::condition_variable callGiven_;
  std::condition_variable callEnded_;
  // Guarded by mutex_.
  const std::function<Status()>* call_ = nullptr;
  bool ended_ = false;
  Status result_ = status::Success;
  bool stopping_ = false;
  bool inFlight_ = false;  // only the window's thread reads and writes it
  // Last, so that it starts once everything it uses exists.
  std::thread worker_;
};

// The registry with every call but LocalMachine() made on the worker thread. The backend behind it
// need not be thread-safe, and the lab is not (plain data, touched by the window's thread too, for
// this computer's feature check): one call is in flight at a time, the window's thread makes none
// meanwhile, and the hand-off through the worker's mutex orders each call after everything before it.
class ResponsiveRegistry final : public ForwardingRegistry {
 public:
  ResponsiveRegistry(Registry& inner, RemoteCallThread& thread) : ForwardingRegistry(inner), thread_(thread) {}

  // Each call below captures the caller's arguments by reference: Run returns only after the call has ended, so they
  // outlive it. LocalMachine() is a predefined handle, no call at all: it is handed on as it is.
  Status ConnectRegistry(const std::wstring& machineName, RegHandle* result) override {
    return thread_.Run([&] { return inner().ConnectRegistry(machineName, result); });
  }
  Status OpenKey(RegHandle parent, const std::wstring& subKey, RegHandle* result) override {
    return thread_.Run([&] { return inner().OpenKey(parent, subKey, result); });
  }
  Status EnumKey(RegHandle key, std::uint32_t index, std::uint32_t bufferChars, std::wstring* name) override {
    return thread_.Run([&] { return inner().EnumKey(key, index, bufferChars, name); });
  }
  Status QueryValue(RegHandle key, const std::wstring& valueName, void* data, std::uint32_t* dataBytes) override {
    return thread_.Run([&] { return inner().QueryValue(key, valueName, data, dataBytes); });
  }
  Status EnumValue(RegHandle key, std::uint32_t index, std::wstring* name, std::uint32_t* type,
                   std::vector<std::uint8_t>* data) override {
    return thread_.Run([&] { return inner().EnumValue(key, index, name, type, data); });
  }
  Status CloseKey(RegHandle key) override {
    return thread_.Run([&] { return inner().CloseKey(key); });
  }

 private:
  RemoteCallThread& thread_;
};

// The service control manager with every call made on the worker thread (see ResponsiveRegistry).
class ResponsiveServiceControl final : public ForwardingServiceControl {
 public:
  ResponsiveServiceControl(ServiceControl& inner, RemoteCallThread& thread)
      : ForwardingServiceControl(inner), thread_(thread) {}

  Status OpenServiceManager(const std::wstring& machine, ScHandle* result) override {
    return thread_.Run([&] { return inner().OpenServiceManager(machine, result); });
  }
  Status OpenNamedService(ScHandle manager, const std::wstring& serviceName, ScHandle* result) override {
    return thread_.Run([&] { return inner().OpenNamedService(manager, serviceName, result); });
  }
  Status Interrogate(ScHandle service, std::uint32_t* currentState) override {
    return thread_.Run([&] { return inner().Interrogate(service, currentState); });
  }
  Status CloseServiceHandle(ScHandle handle) override {
    return thread_.Run([&] { return inner().CloseServiceHandle(handle); });
  }

 private:
  RemoteCallThread& thread_;
};

// The platform a gathering runs on: `base` with its registry and service manager behind the worker
// thread; files, processes and this computer's name are not the gathering's and go straight through.
class ResponsiveRemoteCalls {
 public:
  ResponsiveRemoteCalls(Platform& base, std::function<void()> pump);

  Platform& ForGathering() { return gathering_; }
  // Waits on the worker for `wait` to return, the window repainting meanwhile as during a remote call (Node 2's
  // read, the live link probes as one piece).
  [[nodiscard]] Status WhilePumping(const std::function<Status()>& wait) { return thread_.Run(wait); }

 private:
  RemoteCallThread thread_;
  ResponsiveRegistry registry_;
  ResponsiveServiceControl services_;
  Platform gathering_;
};
