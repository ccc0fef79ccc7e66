// One readiness report read for the fleet's summary: checked against the built-in schema, then its row.
#include <nlohmann/json.hpp>

#include "common/text_encoding.h"
#include "common/text_format.h"
#include "report/fleet_summary.h"
#include "report/json_schema.h"
#include "report/readiness_schema.h"

using Json = nlohmann::json;

namespace {
std::wstring Text(const Json& value) { return WideFromUtf8(value.get_ref<const std::string&>()); }

// Where the parser stopped, in its own words; kept apart from the DOM parse, which says only that it failed.
class ParseErrorSax : public nlohmann::json_sax<Json> {
 public:
  bool null() override { return true; }
  bool boolean(bool) override { return true; }
  bool number_integer(number_integer_t) override { return true; }
  bool number_unsigned(number_unsigned_t) override { return true; }
  bool number_float(number_float_t, const string_t&) override { return true; }
  bool string(string_t&) override { return true; }
  bool binary(binary_t&) override { return true; }
  bool start_object(std::size_t) override { return true; }
  bool key(string_t&) override { return true; }
  bool end_object() override { return true; }
  bool start_array(std::size_t) override { return true; }
  bool end_array() override { return true; }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& error) override {
    message = error.what();
    // "[json.exception.parse_error.101] parse error at line 1, column 2: ..." without the bracket.
    if (const std::size_t end = message.find("] "); message.rfind('[', 0) == 0 && end != std::string::npos) {
      message.erase(0, end + 2);
    }
    return false;
  }
  std::string message;
};

std::wstring ParseProblem(std::string_view bytes) {
  ParseErrorSax sax;
  Json::sax_parse(bytes, &sax, nlohmann::detail::input_format_t::json, false);
  return L"not JSON: " + WideFromUtf8(sax.message);
}

FleetRow Invalid(const std::wstring& site, const std::wstring& file, const std::wstring& why) {
  FleetRow row = NotReadRow(site, file, why);
  row.status = FleetStatus::Invalid;
  return row;
}

Severity SeverityOf(const std::string& name) {
  if (name == "FAIL") return Severity::Fail;
  return name == "WARN" ? Severity::Warn : Severity::Info;
}

std::wstring NodeName(const Json& node) {
  const std::wstring host = Text(node.at("host"));
  return host.empty() ? FormatText(L"Node %d", {node.at("node").get<int>()}) : host;
}
}  // namespace

FleetReportReader::FleetReportReader() : schema_(std::make_unique<JsonSchema>()) {
  std::string problem;
  if (!schema_->Load(ReadinessSchemaText(), &problem)) schemaProblem_ = WideFromUtf8(problem);
}

FleetReportReader::~FleetReportReader() = default;

FleetRow NotReadRow(const std::wstring& site, const std::wstring& file, const std::wstring& why) {
  FleetRow row;
  row.status = FleetStatus::NotRead;
  row.site = site;
  row.file = file;
  row.message = why;
  return row;
}

FleetRow FleetReportReader::Read(const std::wstring& site, const std::wstring& file, std::string_view bytes) const {
  if (!schemaProblem_.empty()) return Invalid(site, file, L"the program's own schema is unusable: " + schemaProblem_);
  const Json report = Json::parse(bytes, nullptr, false);
  if (report.is_discarded()) return Invalid(site, file, ParseProblem(bytes));
  std::string problem;
  if (!schema_->Validate(report, &problem))
    return Invalid(site, file, L"not a readiness report: " + WideFromUtf8(problem));

  // From here on every member the schema requires is there, of its type.
  FleetRow row;
  row.site = site;
  row.file = file;
  const Json& run = report.at("run");
  row.time = Text(run.at("time"));
  if (row.time.size() > 10) row.time[10] = L' ';
  row.stage = run.at("stage").get<int>();
  row.step = run.at("step").get<int>();
  const Json& nodes = report.at("nodes");
  row.nodes = NodeName(nodes.at(0)) + L", " + NodeName(nodes.at(1));

  std::wstring firstFail;
  for (const Json& finding : report.at("findings")) {
    const Severity severity = SeverityOf(finding.at("severity").get_ref<const std::string&>());
    row.findings.push_back({Text(finding.at("id")), Text(finding.at("check")), severity});
    int& count = severity == Severity::Fail   ? row.counts.fail
                 : severity == Severity::Warn ? row.counts.warn
                                              : row.counts.info;
    ++count;
    if (severity == Severity::Fail && firstFail.empty()) {
      firstFail = Text(finding.at("id")) + L": " + Text(finding.at("message"));
    }
  }
  // Compared as numbers: the schema takes 1e30 for an integer, which no int holds.
  const Json& summary = report.at("summary");
  if (summary.at("fail").get<double>() != row.counts.fail || summary.at("warn").get<double>() != row.counts.warn ||
      summary.at("info").get<double>() != row.counts.info) {
    return Invalid(
        site, file,
        FormatText(L"not a readiness report: /summary: says %s FAIL, %s WARN, %s INFO, but the findings "
                   L"hold %d FAIL, %d WARN, %d INFO",
                   {WideFromUtf8(summary.at("fail").dump()), WideFromUtf8(summary.at("warn").dump()),
                    WideFromUtf8(summary.at("info").dump()), row.counts.fail, row.counts.warn, row.counts.info}));
  }

  // The step's own comparison fails the pair as check's exit code does, FAIL finding or not.
  const Json& validation = report.at("validation");
  const bool validated = validation.at("passed").get<bool>();
  if (!firstFail.empty()) {
    row.message = firstFail;
  } else if (!validated) {
    const Json& lines = validation.at("lines");
    row.message = FormatText(L"Step %d validation: %s", {row.step, lines.empty() ? L"failed" : Text(lines.at(0))});
  }
  row.status = row.counts.fail > 0 || !validated ? FleetStatus::Fail
               : row.counts.warn > 0             ? FleetStatus::Warn
                                                 : FleetStatus::Clean;
  return row;
}
