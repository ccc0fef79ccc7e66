// The service control manager of every server in a lab.
#include "platform/lab/lab_services.h"

#include "common/text_case.h"

namespace {
constexpr std::uint32_t kStateStopped = 1;
}  // namespace

void LabServiceControl::AddServer(const std::wstring& server) { servers_[ToLowerAscii(server)]; }

void LabServiceControl::AddService(const std::wstring& server, const std::wstring& serviceName, ServiceEntry entry) {
  servers_[ToLowerAscii(server)][ToLowerAscii(serviceName)] = entry;
}

ScHandle LabServiceControl::Track(OpenEntry entry) {
  const ScHandle handle = nextHandle_;
  nextHandle_ += 4;
  open_[handle] = std::move(entry);
  return handle;
}

Status LabServiceControl::OpenServiceManager(const std::wstring& machine, ScHandle* result) {
  const std::wstring server = ToLowerAscii(machine);
  if (servers_.count(server) == 0) return status::RpcServerUnavailable;
  *result = Track({server, {}});
  return status::Success;
}

Status LabServiceControl::OpenNamedService(ScHandle manager, const std::wstring& serviceName, ScHandle* result) {
  const auto it = open_.find(manager);
  if (it == open_.end() || !it->second.service.empty()) return status::InvalidHandle;
  const auto& services = servers_.at(it->second.server);
  const std::wstring name = ToLowerAscii(serviceName);
  if (services.count(name) == 0) return status::ServiceDoesNotExist;
  *result = Track({it->second.server, name});
  return status::Success;
}

Status LabServiceControl::Interrogate(ScHandle service, std::uint32_t* currentState) {
  const auto it = open_.find(service);
  if (it == open_.end() || it->second.service.empty()) return status::InvalidHandle;
  const ServiceEntry& entry = servers_.at(it->second.server).at(it->second.service);
  // A stopped service cannot answer the interrogation, as on Windows.
  if (entry.state == kStateStopped) return status::ServiceNotActive;
  *currentState = entry.state;
  return status::Success;
}

Status LabServiceControl::CloseServiceHandle(ScHandle handle) {
  return open_.erase(handle) == 1 ? status::Success : status::InvalidHandle;
}
