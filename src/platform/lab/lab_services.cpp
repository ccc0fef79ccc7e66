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

void LabServiceControl::SetFaults(const std::wstring& server, LabServerFaults faults) {
  faults_.Set(server, std::move(faults));
}

ScHandle LabServiceControl::Track(OpenEntry entry) {
  const std::lock_guard<std::mutex> lock(openMutex_);
  const ScHandle handle = nextHandle_;
  nextHandle_ += 4;
  open_[handle] = std::move(entry);
  return handle;
}

std::size_t LabServiceControl::OpenHandleCount() const {
  const std::lock_guard<std::mutex> lock(openMutex_);
  return open_.size();
}

const LabServiceControl::OpenEntry* LabServiceControl::BeginCall(ScHandle handle) {
  const OpenEntry* entry = nullptr;
  {
    const std::lock_guard<std::mutex> lock(openMutex_);
    const auto it = open_.find(handle);
    // The entry stays where it is until its own handle is closed, by the thread that uses it.
    if (it != open_.end()) entry = &it->second;
  }
  remoteCalls_.Make(entry == nullptr ? std::chrono::nanoseconds::zero() : FaultsOf(entry->server).latency);
  return entry;
}

Status LabServiceControl::OpenServiceManager(const std::wstring& machine, ScHandle* result) {
  const std::wstring server = ServerOfMachineName(machine);
  const LabServerFaults& faults = FaultsOf(server);
  remoteCalls_.Make(faults.latency);
  if (server.empty() || servers_.count(server) == 0 || faults.unreachable) return status::RpcServerUnavailable;
  if (faults.serviceManagerError != status::Success) return faults.serviceManagerError;
  *result = Track({server, {}});
  return status::Success;
}

Status LabServiceControl::OpenNamedService(ScHandle manager, const std::wstring& serviceName, ScHandle* result) {
  const OpenEntry* entry = BeginCall(manager);
  if (entry == nullptr || !entry->service.empty()) return status::InvalidHandle;
  if (FaultsOf(entry->server).DeniesService(serviceName)) return status::AccessDenied;
  const auto& services = servers_.at(entry->server);
  const std::wstring name = ToLowerAscii(serviceName);
  if (services.count(name) == 0) return status::ServiceDoesNotExist;
  *result = Track({entry->server, name});
  return status::Success;
}

Status LabServiceControl::Interrogate(ScHandle service, std::uint32_t* currentState) {
  const OpenEntry* entry = BeginCall(service);
  if (entry == nullptr || entry->service.empty()) return status::InvalidHandle;
  const LabServerFaults& faults = FaultsOf(entry->server);
  if (faults.TimesOut(entry->service)) return status::ServiceRequestTimeout;
  if (faults.IsBusy(entry->service)) return status::ServiceCannotAcceptCtrl;
  // A stopped service cannot answer the interrogation, as on Windows.
  const ServiceEntry& state = servers_.at(entry->server).at(entry->service);
  if (state.state == kStateStopped) return status::ServiceNotActive;
  *currentState = state.state;
  return status::Success;
}

Status LabServiceControl::CloseServiceHandle(ScHandle handle) {
  if (BeginCall(handle) == nullptr) return status::InvalidHandle;
  const std::lock_guard<std::mutex> lock(openMutex_);
  open_.erase(handle);
  return status::Success;
}
