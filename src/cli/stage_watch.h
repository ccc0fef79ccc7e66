// Where the reading of one server has got to, told from the calls it makes through the seam.
#pragma once

#include <functional>
#include <string>

#include "platform/platform.h"

// A platform whose registry and service calls go on to `inner` unchanged, and which reports a
// stage each time the reading turns to another part of the server: its registry connection, the
// network adapters, the TCP/IP interfaces, the product's settings, its services.
class StageWatch {
 public:
  using Report = std::function<void(const wchar_t* stage)>;
  StageWatch(Platform& inner, Report report);
  StageWatch(const StageWatch&) = delete;
  StageWatch& operator=(const StageWatch&) = delete;

  Platform& platform() { return platform_; }

 private:
  class WatchingRegistry : public ForwardingRegistry {
   public:
    WatchingRegistry(Registry& inner, StageWatch& watch) : ForwardingRegistry(inner), watch_(watch) {}
    Status ConnectRegistry(const std::wstring& machineName, RegHandle* result) override;
    Status OpenKey(RegHandle parent, const std::wstring& subKey, RegHandle* result) override;

   private:
    StageWatch& watch_;
  };

  class WatchingServices : public ForwardingServiceControl {
   public:
    WatchingServices(ServiceControl& inner, StageWatch& watch) : ForwardingServiceControl(inner), watch_(watch) {}
    Status OpenServiceManager(const std::wstring& machine, ScHandle* result) override;

   private:
    StageWatch& watch_;
  };

  // Reports `stage` unless it is the one reported last.
  void Enter(const wchar_t* stage);

  Report report_;
  const wchar_t* current_ = nullptr;
  WatchingRegistry registry_;
  WatchingServices services_;
  Platform platform_;
};
