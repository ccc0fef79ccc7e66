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
  class WatchingRegistry : public Registry {
   public:
    WatchingRegistry(Registry& inner, StageWatch& watch) : inner_(inner), watch_(watch) {}
    RegHandle LocalMachine() const override { return inner_.LocalMachine(); }
    Status ConnectRegistry(const std::wstring& machineName, RegHandle* result) override;
    Status OpenKey(RegHandle parent, const std::wstring& subKey, RegHandle* result) override;
    Status EnumKey(RegHandle key, std::uint32_t index, std::uint32_t bufferChars, std::wstring* name) override {
      return inner_.EnumKey(key, index, bufferChars, name);
    }
    Status QueryValue(RegHandle key, const std::wstring& valueName, void* data, std::uint32_t* dataBytes) override {
      return inner_.QueryValue(key, valueName, data, dataBytes);
    }
    Status EnumValue(RegHandle key, std::uint32_t index, std::wstring* name, std::uint32_t* type,
                     std::vector<std::uint8_t>* data) override {
      return inner_.EnumValue(key, index, name, type, data);
    }
    Status CloseKey(RegHandle key) override { return inner_.CloseKey(key); }

   private:
    Registry& inner_;
    StageWatch& watch_;
  };

  class WatchingServices : public ServiceControl {
   public:
    WatchingServices(ServiceControl& inner, StageWatch& watch) : inner_(inner), watch_(watch) {}
    Status OpenServiceManager(const std::wstring& machine, ScHandle* result) override;
    Status OpenNamedService(ScHandle manager, const std::wstring& serviceName, ScHandle* result) override {
      return inner_.OpenNamedService(manager, serviceName, result);
    }
    Status Interrogate(ScHandle service, std::uint32_t* currentState) override {
      return inner_.Interrogate(service, currentState);
    }
    Status CloseServiceHandle(ScHandle handle) override { return inner_.CloseServiceHandle(handle); }

   private:
    ServiceControl& inner_;
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
