// Gathering one server: its registry first, then its service control manager.
#include "app/install_log.h"
#include "common/text_format.h"
#include "nodes/cnode.h"
#include "nodes/registry_paths.h"

namespace {
struct ServiceQuery {
  std::wstring name;
  std::wstring cNode::*stateField;
};
}  // namespace

Status cNode::GetNodeInfo() {
  if (HostName.empty()) {
    log_->Info(L"cNode::GetNodeInfo(): host name specified is empty.");
    return status::InvalidParameter;
  }
  log_->Info(FormatText(L"Hostname = %s", {HostName}));
  Status rc = GatherFromRegistry();
  // The connection lives only for the registry stages, whichever way they ended.
  RemoteRegistry.Close();
  if (rc != status::Success) return rc;
  return GatherServiceStates();
}

Status cNode::GatherFromRegistry() {
  const std::wstring machineName = L"\\\\" + HostName;
  RemoteRegistry.Close();
  Status rc = platform_->registry.ConnectRegistry(machineName, RemoteRegistry.Receive());
  if (rc != status::Success) {
    platform_->ownerlessBox.Show(FormatText(L"Unable to connect to the registry on server %s.", {HostName}));
    log_->Error(FormatText(L"RegConnectRegistry(%s) failed. rc = %ld", {machineName, rc}));
    return rc;
  }
  rc = GetNICUUIDs();
  if (rc != status::Success) {
    platform_->ownerlessBox.Show(FormatText(L"Unable to get the NIC UUIDs from the registry on server %s.", {HostName}));
    log_->Error(FormatText(L"GetNICUUIDs failed on host %s. rc = %ld", {HostName, rc}));
    return rc;
  }
  rc = GetNICDetails();
  if (rc != status::Success) {
    platform_->ownerlessBox.Show(
        FormatText(L"Unable to get the NIC IP information from the registry on server %s.", {HostName}));
    log_->Error(FormatText(L"GetNICDetails failed on host %s. rc = %ld", {HostName, rc}));
    return rc;
  }
  std::wstring switchIpAddress;
  rc = GetRegKeyStringValue(kProductKey, kSwitchIpAddressValue, switchIpAddress);
  if (rc != status::Success) {
    platform_->ownerlessBox.Show(
        FormatText(L"Unable to read the Switch IP information from the registry on server %s.", {HostName}));
    log_->Error(
        FormatText(L"GetRegKeyStringValue(%s,%s) failed. rc = %ld", {kProductKey, kSwitchIpAddressValue, rc}));
    return rc;
  }
  SwitchIpAddress = switchIpAddress;
  log_->Info(FormatText(L"\tSwitch IP Address = %s", {SwitchIpAddress}));
  rc = GetHighAvailabilityStatus();
  if (rc != status::Success) {
    platform_->ownerlessBox.Show(
        FormatText(L"Unable to get the high availability feature status on host %s.", {HostName}));
    log_->Error(FormatText(L"GetHighAvailabilityStatus failed on host %s. rc = %ld", {HostName, rc}));
    return rc;
  }
  return status::Success;
}

// A missing, stopped or hung service is a state; only an unexpected failure stops the queries.
Status cNode::GatherServiceStates() {
  ServiceControl& services = platform_->services;
  ScopedScHandle manager(services);
  Status rc = services.OpenServiceManager(HostName, manager.Receive());
  if (rc != status::Success) {
    log_->Error(FormatText(L"OpenSCManager(%s) failed. rc = %ld", {HostName, rc}));
    return rc;
  }
  const ServiceQuery queries[] = {
      {AutoStartDomain, &cNode::AgentServiceStatus},
      {AutoStartDomain + L"_BACKBONE", &cNode::BackboneServiceStatus},
      {L"EMC AutoStart Mirror Service", &cNode::MirrorServiceStatus},
      {L"EMC AutoStart Transport Service", &cNode::TransportServiceStatus},
  };
  for (const ServiceQuery& query : queries) {
    std::wstring& stateText = this->*query.stateField;
    rc = GetServiceStatus(manager.get(), query.name, stateText);
    if (rc != status::Success) {
      log_->Error(FormatText(L"GetServiceStatus(%s) failed. rc = %ld", {query.name, rc}));
      return rc;
    }
    log_->Info(FormatText(L"\t%s service status = %s", {query.name, stateText}));
  }
  return status::Success;
}
