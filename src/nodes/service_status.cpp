// The state of one service on a server, as its service control manager reports it.
#include <cstdint>

#include "app/install_log.h"
#include "common/text_format.h"
#include "nodes/cnode.h"

namespace {
// The current-state values of the service status record, 1 (stopped) to 7 (paused).
const wchar_t* ServiceStateText(std::uint32_t state) {
  static const wchar_t* const kTexts[] = {L"Stopped",          L"Start pending", L"Stop pending", L"Running",
                                          L"Continue pending", L"Pause pending", L"Paused"};
  return state >= 1 && state <= 7 ? kTexts[state - 1] : L"Unknown";
}
}  // namespace

Status cNode::GetServiceStatus(ScHandle serviceManager, std::wstring serviceName, std::wstring& stateText) {
  if (serviceManager == 0) {
    log_->Error(FormatText(L"GetServiceStatus(%s) failed. SCM handle is NULL.", {serviceName}));
    return status::InvalidHandle;
  }
  if (serviceName.empty()) {
    log_->Error(FormatText(L"GetServiceStatus(%s) failed. ServiceName is invalid.", {serviceName}));
    return status::InvalidParameter;
  }
  ServiceControl& services = platform_->services;
  ScopedScHandle service(services);
  Status rc = services.OpenNamedService(serviceManager, serviceName, service.Receive());
  if (rc == status::ServiceDoesNotExist) {
    log_->Info(FormatText(L"OpenService(%s): Service does not exist.", {serviceName}));
    stateText = L"Not installed";
    return status::Success;
  }
  if (rc != status::Success) {
    log_->Error(FormatText(L"OpenService(%s) failed. rc = %ld", {serviceName, rc}));
    return rc;
  }
  std::uint32_t state = 0;
  rc = services.Interrogate(service.get(), &state);
  switch (rc) {
    case status::Success:
      stateText = ServiceStateText(state);
      return status::Success;
    // A service that is hung, busy or stopped cannot answer; each is a state of its own.
    case status::ServiceRequestTimeout:
      stateText = L"Timeout";
      return status::Success;
    case status::ServiceCannotAcceptCtrl:
      stateText = L"Unknown";
      return status::Success;
    case status::ServiceNotActive:
      stateText = L"Not started";
      return status::Success;
    default:
      log_->Error(FormatText(L"ControlService(%s) failed. rc = %ld", {serviceName, rc}));
      return rc;
  }
}
