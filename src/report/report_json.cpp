// The readiness report for tools: one JSON document following docs/readiness-schema.json.
#include <nlohmann/json.hpp>

#include "common/text_encoding.h"
#include "report/readiness_report.h"
#include "report/report_values.h"
#include "validation/readiness_checks.h"

namespace {

// Keys keep the order they are written in, so that a person reading the file finds the
// schema first and the findings after the data they are about.
using Json = nlohmann::ordered_json;

std::string U8(const std::wstring& text) { return Utf8FromWide(text); }

Json RunJson(const ReportRun& run) {
  const ReportTime& t = run.time;
  std::wstring isoTime = ReportTimeText(t);
  isoTime[10] = L'T';
  return {{"time", U8(isoTime)},
          {"computer", U8(run.computer)},
          {"version", U8(run.version)},
          {"edition", U8(run.edition)},
          {"stage", run.stage},
          {"step", run.step},
          {"lab", run.lab.empty() ? Json(nullptr) : Json(U8(run.lab))}};
}

Json EntriesJson(const Entries& entries) {
  Json json = Json::object();
  json["stage"] = entries.WizardStage;
  for (const report::EntryField& field : report::EntryFields(entries)) json[field.key] = U8(*field.value);
  return json;
}

Json LinkJson(const cNIC& nic) {
  Json addresses = Json::array();
  for (const std::wstring& address : LinkAddresses(nic)) addresses.push_back(U8(address));
  const std::wstring network = report::LinkNetworkText(nic);
  return {{"address", U8(nic.IpAddress)},      {"addresses", std::move(addresses)},
          {"mask", U8(nic.SubnetMask)},        {"network", network.empty() ? Json(nullptr) : Json(U8(network))},
          {"gateway", U8(nic.DefaultGateway)}, {"domain", U8(nic.Domain)}};
}

Json NodeJson(int number, const NodeRecord& node) {
  Json links = Json::object();
  for (const Link link : kLinks) links[U8(LinkName(link))] = LinkJson(LinkOf(node, link));
  Json services = Json::object();
  for (const report::ServiceField& service : report::ServiceFields(node)) services[service.key] = U8(*service.state);
  return {{"node", number},
          {"host", U8(node.HostName)},
          {"switch_address", U8(node.SwitchIpAddress)},
          {"feature_state", U8(node.HaFeatureStatus)},
          {"links", std::move(links)},
          {"services", std::move(services)}};
}

Json FindingJson(const Finding& finding) {
  Json links = Json::array();
  for (const Link link : finding.links) links.push_back(U8(LinkName(link)));
  Json observed = Json::object();
  for (const ObservedValue& value : finding.observed) observed[U8(value.name)] = U8(value.value);
  return {
      {"id", U8(finding.id)},           {"check", U8(finding.check)},  {"severity", U8(SeverityName(finding.severity))},
      {"links", std::move(links)},      {"nodes", finding.nodes},      {"observed", std::move(observed)},
      {"message", U8(finding.message)}, {"remedy", U8(finding.remedy)}};
}

const char* AdapterStateText(AdapterState state) {
  switch (state) {
    case AdapterState::Connected: return "connected";
    case AdapterState::Disconnected: return "disconnected";
    case AdapterState::Unknown: return "unknown";
  }
  return "unknown";
}

const char* SkipText(ProbeSkip skip) {
  switch (skip) {
    case ProbeSkip::None: return nullptr;
    case ProbeSkip::NeitherNode: return "neither-node";
    case ProbeSkip::TurnedOff: return "turned-off";
  }
  return nullptr;
}

Json ProbeJson(const LinkProbeResults& results, const TargetResult& result) {
  const ProbeTarget& target = result.target;
  Json roundTrip = nullptr;
  if (result.answered > 0) {
    const RoundTripSummary trips = SummarizeRoundTrips(result.roundTripsMs);
    roundTrip = {{"min", trips.min}, {"avg", trips.average}, {"max", trips.max}};
  }
  return {{"probe", U8(ProbeTargetName(target))},
          {"link", U8(LinkName(target.link))},
          {"adapter", AdapterStateText(AdapterStateOf(results, target.link))},
          {"from", U8(target.from)},
          {"to", U8(target.to)},
          {"sent", result.sent ? kEchoesPerTarget : 0},
          {"answered", result.answered},
          {"round_trip_ms", std::move(roundTrip)}};
}

Json LinksJson(const LinkProbeResults& results) {
  const char* skipped = SkipText(results.plan.skip);
  Json adapters = Json::array();
  for (const AdapterResult& adapter : results.adapters) {
    adapters.push_back({{"link", U8(LinkName(adapter.adapter.link))},
                        {"interface", U8(adapter.adapter.guid)},
                        {"state", AdapterStateText(adapter.state)}});
  }
  Json probes = Json::array();
  for (const TargetResult& result : results.targets) probes.push_back(ProbeJson(results, result));
  return {{"probed", results.plan.here != 0},
          {"skipped", skipped == nullptr ? Json(nullptr) : Json(skipped)},
          {"from_node", results.plan.here == 0 ? Json(nullptr) : Json(results.plan.here)},
          {"adapters", std::move(adapters)},
          {"probes", std::move(probes)}};
}

}  // namespace

std::string ReportJson(const ReportInput& input) {
  Json lines = Json::array();
  for (const std::wstring& line : input.validationLines) lines.push_back(U8(line));
  Json findings = Json::array();
  for (const Finding& finding : input.findings) findings.push_back(FindingJson(finding));
  const FindingCounts counts = CountFindings(input.findings);

  const Json report = {
      {"schema", kReadinessReportSchema},
      {"run", RunJson(input.run)},
      {"entries", EntriesJson(input.entries)},
      {"nodes", Json::array({NodeJson(1, input.node1), NodeJson(2, input.node2)})},
      {"validation", {{"passed", input.validationPassed}, {"lines", std::move(lines)}}},
      {"link_probes", LinksJson(input.links)},
      {"findings", std::move(findings)},
      {"summary", {{"fail", counts.fail}, {"warn", counts.warn}, {"info", counts.info}}},
  };
  // Text from the registry is outside data: anything that is not valid UTF-8 by the time it
  // gets here is replaced rather than allowed to stop the report.
  return report.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}
