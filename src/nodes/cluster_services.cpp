// The clustering services a server runs for an AutoStart domain, and the words their states are told in.
#include "nodes/cluster_services.h"

namespace {
struct ServiceNaming {
  const wchar_t* text;  // the whole name, or what follows the domain's name
  bool afterDomain;
  std::wstring NodeRecord::*stateField;
};
constexpr ServiceNaming kServices[] = {
    {L"", true, &NodeRecord::AgentServiceStatus},
    {L"_BACKBONE", true, &NodeRecord::BackboneServiceStatus},
    {L"EMC AutoStart Mirror Service", false, &NodeRecord::MirrorServiceStatus},
    {L"EMC AutoStart Transport Service", false, &NodeRecord::TransportServiceStatus},
};

struct StateNaming {
  const wchar_t* text;
  const wchar_t* word;
};
// The current-state values of the service status record, 1 (stopped) to 7 (paused).
constexpr StateNaming kStates[] = {
    {L"Stopped", L"STOPPED"}, {L"Start pending", L"START_PENDING"},       {L"Stop pending", L"STOP_PENDING"},
    {L"Running", L"RUNNING"}, {L"Continue pending", L"CONTINUE_PENDING"}, {L"Pause pending", L"PAUSE_PENDING"},
    {L"Paused", L"PAUSED"},
};

const StateNaming* FindState(std::uint32_t state) {
  return state >= 1 && state <= std::size(kStates) ? &kStates[state - 1] : nullptr;
}
}  // namespace

std::vector<ClusterService> ClusterServices(const std::wstring& domain) {
  std::vector<ClusterService> services;
  for (const ServiceNaming& service : kServices) {
    services.push_back({service.afterDomain ? domain + service.text : service.text, service.stateField});
  }
  return services;
}

std::vector<std::wstring> ClusterServiceNames(const std::wstring& domain) {
  std::vector<std::wstring> names;
  for (const ServiceNaming& service : kServices) {
    if (service.afterDomain && domain.empty()) continue;
    names.push_back(service.afterDomain ? domain + service.text : service.text);
  }
  return names;
}

const wchar_t* ServiceStateText(std::uint32_t state) {
  const StateNaming* found = FindState(state);
  return found != nullptr ? found->text : L"Unknown";
}

const wchar_t* ServiceStateWord(std::uint32_t state) {
  const StateNaming* found = FindState(state);
  return found != nullptr ? found->word : L"";
}
