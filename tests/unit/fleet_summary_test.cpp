// The fleet's summary: each report read against the built-in schema into its row, the rows worst first, the files.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <functional>
#include <string>
#include <vector>

#include "common/text_encoding.h"
#include "report/fleet_summary.h"
#include "report/json_schema.h"
#include "support/readiness_pair.h"

using Json = nlohmann::json;

namespace {
// The report of `pair` (the healthy one, INFO only, unless given) with `change` made to its JSON.
std::string Report(const std::function<void(Json&)>& change = {}, const ReadinessPair& pair = HealthyPair()) {
  Json report = Json::parse(ReportJson(ReportInputFor(pair)));
  if (change) change(report);
  return report.dump();
}
// A change setting the member at `pointer` to `value`.
std::function<void(Json&)> Set(const char* pointer, Json value) {
  return [pointer, value](Json& report) { report[Json::json_pointer(pointer)] = value; };
}
}  // namespace

TEST(FleetReportReader, ReadsEachReportIntoItsRowOrSaysWhereItIsWrong) {
  struct Case {
    const char* what;
    std::string bytes;
    FleetStatus status;
    std::string message;  // the row's message starts with it
  };
  ReadinessPair crossed = HealthyPair(), warned = HealthyPair();
  SetLink(crossed.node2.Hb1, L"192.168.102.12", L"255.255.255.0");
  SetLink(crossed.node2.Hb2, L"192.168.101.12", L"255.255.255.0");
  warned.entries.ManagedClanIp = L"10.9.1.5";
  const auto invalid = [](const char* what, std::string bytes, const char* problem) {
    return Case{what, std::move(bytes), FleetStatus::Invalid, std::string("not a readiness report: ") + problem};
  };
  const Case cases[] = {
      {"a clean pair", Report(), FleetStatus::Clean, ""},
      {"a WARN", Report({}, warned), FleetStatus::Warn, ""},
      {"a FAIL gives its id and message", Report({}, crossed), FleetStatus::Fail,
       "R07: HB1 and HB2 are crossed: HB1 of node-a"},
      {"a failed validation without a FAIL finding",
       Report(Set("/validation", {{"passed", false}, {"lines", {"The switch IP addresses do not match."}}})),
       FleetStatus::Fail, "Step 2 validation: The switch IP addresses do not match."},
      {"a link without a network", Report(Set("/nodes/0/links/HB1/network", nullptr)), FleetStatus::Clean, ""},
      {"cut short", "{\"schema\": ", FleetStatus::Invalid, "not JSON: parse error at line 1, column 12"},
      invalid("another schema", Report(Set("/schema", "duplex-readiness/2")), "/schema: is not \"duplex-readiness/1\""),
      invalid("a member missing", Report([](Json& r) { r["run"].erase("time"); }), "/run: lacks \"time\""),
      invalid("a member too many", Report(Set("/extra", 1)),
              "(the document): holds \"extra\", which the schema does not allow"),
      invalid("a time of another form", Report(Set("/run/time", "2026-12-08 14:30:05")),
              "/run/time: does not have the form"),
      invalid("a number as text", Report(Set("/run/stage", "1")), "/run/stage: is string, not of the type"),
      invalid("a stage out of its list", Report(Set("/run/stage", 3)), "/run/stage: is not one of 1, 2"),
      invalid("the nodes swapped", Report([](Json& r) { std::swap(r["nodes"][0], r["nodes"][1]); }),
              "/nodes/0/node: is not 1"),
      invalid("one node", Report([](Json& r) { r["nodes"].erase(1); }), "/nodes: holds 1 items, fewer than 2"),
      invalid("a link of another name", Report(Set("/nodes/1/links/WAN", Json::object())),
              "/nodes/1/links/WAN: is not one of \"CLAN\""),
      invalid("a node named twice in a finding", Report(Set("/findings/0/nodes", {1, 1}), crossed),
              "/findings/0/nodes: holds 1 twice"),
      invalid("a count below zero", Report(Set("/summary/warn", -1)), "/summary/warn: is below 0"),
      invalid("a summary the findings do not hold", Report(Set("/summary/fail", 0), crossed), "/summary: says 0 FAIL"),
  };
  const FleetReportReader reader;
  ASSERT_EQ(reader.SchemaProblem(), L"");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const FleetRow row = reader.Read(L"site-a", L"site-a/r.json", c.bytes);
    EXPECT_EQ(row.status, c.status);
    EXPECT_EQ(Utf8FromWide(row.message).substr(0, c.message.size()), c.message) << Utf8FromWide(row.message);
    if (!row.Read()) continue;
    EXPECT_EQ(row.nodes, L"node-a, node-b");
    EXPECT_EQ(row.time, L"2026-12-08 14:30:05");
    EXPECT_EQ(row.stage * 10 + row.step, 12);
  }
}

// The subset refuses what it would not check, rather than pass a report unchecked.
TEST(JsonSchema, RefusesSchemasBeyondItsSubset) {
  struct Case {
    const char* schema;
    const char* error;  // empty: loads
  };
  const Case cases[] = {
      {R"({"type": "object", "properties": {"a": {"$ref": "#/$defs/b"}}, "$defs": {"b": {"type": "string"}}})", ""},
      {R"({"properties": {"a": {"maxLength": 3}}})",
       "/properties/a/maxLength: is a keyword this subset does not apply"},
      {R"({"properties": {"a": {"$ref": "#/$defs/missing"}}})",
       "/properties/a/$ref: names no definition under #/$defs"},
      {R"({"pattern": "^(a|b)$"})", "/pattern: is outside this subset: '(' where this form does not allow it"},
      {R"({"pattern": "^\\d+$"})", "/pattern: is outside this subset: an escape other than a punctuation character"},
      {R"({"type": "text"})", "/type: names no type"},
      {"[1]", "the schema is no JSON object"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.schema);
    JsonSchema schema;
    std::string error;
    EXPECT_EQ(schema.Load(c.schema, &error), *c.error == '\0');
    EXPECT_EQ(error, c.error);
  }
}

TEST(SchemaPattern, MatchesAsJsonSchemaPatternsDo) {
  struct Case {
    const char* pattern;
    const char* text;
    bool matches;
  };
  const Case cases[] = {
      {"^R[0-9]{2}$", "R07", true},      {"^R[0-9]{2}$", "R7", false}, {"^R[0-9]{2}$", "R007", false},
      {"[0-9]{2}", "xx12yy", true},      {"^a[^/]+$", "ab/c", false},  {"^a[^/]+$", "abc", true},
      {"^a?b*c+$", "c", true},           {"^a?b*c+$", "aabc", false},  {"^x[0-9]{1,3}y$", "x1234y", false},
      {"^x[0-9]{2,}$", "x123456", true}, {"^\\.[a-c-]$", ".-", true},  {"^$", "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.pattern) + " on " + c.text);
    SchemaPattern pattern;
    std::string error;
    ASSERT_TRUE(pattern.Parse(c.pattern, &error)) << error;
    EXPECT_EQ(pattern.Matches(c.text), c.matches);
  }
}

namespace {
FleetRow Row(FleetStatus status, const std::wstring& site, FindingCounts counts, std::vector<FleetFinding> findings,
             const std::wstring& message = L"", const std::wstring& time = L"2026-12-08 14:30:05") {
  return FleetRow{status, site, site + L"/r.json", L"node-a, node-b", time, 1, 2, counts, message, std::move(findings)};
}
const FleetFinding kR02Fail{L"R02", L"subnet-mismatch", Severity::Fail};
const FleetFinding kR06Warn{L"R06", L"managed-address-placement", Severity::Warn};
const FleetFinding kR11Info{L"R11", L"several-addresses", Severity::Info};
}  // namespace

TEST(SummarizeFleet, PutsTheWorstFirstAndCountsEachCheck) {
  const FleetSummary summary = SummarizeFleet({
      Row(FleetStatus::Clean, L"oslo", {0, 0, 1}, {kR11Info}),
      Row(FleetStatus::Warn, L"lima", {0, 1, 0}, {kR06Warn}),
      Row(FleetStatus::Fail, L"bern", {1, 0, 0}, {kR02Fail}, L"R02: one", L"2026-12-07 09:00:00"),
      Row(FleetStatus::Fail, L"bern", {1, 0, 0}, {kR02Fail}, L"R02: two", L"2026-12-08 09:00:00"),
      Row(FleetStatus::Fail, L"rome", {2, 0, 2}, {kR02Fail, kR02Fail, kR11Info, kR11Info}),
      Row(FleetStatus::Invalid, L"kiev", {}, {}, L"not JSON"),
      NotReadRow(L"york", L"york/r.json", L"a symbolic link, not followed"),
  });
  std::vector<std::wstring> order;
  for (const FleetRow& row : summary.rows) order.push_back(row.site + L" " + row.message);
  EXPECT_EQ(order, (std::vector<std::wstring>{L"york a symbolic link, not followed", L"kiev not JSON", L"rome ",
                                              L"bern R02: two", L"bern R02: one", L"lima ", L"oslo "}));
  EXPECT_EQ(summary.worst, FleetStatus::NotRead);
  ASSERT_EQ(summary.checks.size(), 3u);
  const FleetCheckCount& r02 = summary.checks[0];
  EXPECT_EQ(r02.id + L" " + r02.check, L"R02 subnet-mismatch");
  EXPECT_EQ(std::vector<int>({r02.counts.fail, r02.counts.warn, r02.counts.info, r02.reports}),
            std::vector<int>({4, 0, 0, 3}));
  EXPECT_EQ(summary.checks[2].reports, 2);
  EXPECT_EQ(SummarizeFleet({}).worst, FleetStatus::NotRead);
}

TEST(FleetSummaryFiles, KeepEveryValueTextInTheirOwnForm) {
  const FleetSummary summary = SummarizeFleet({Row(FleetStatus::Fail, L"=cmd|' /C calc'!A0", {1, 0, 0}, {kR02Fail},
                                                   L"R02: <script>alert(\"x\")</script>, on HB1"),
                                               NotReadRow(L"-site", L"-site/r.json", L"the file could not be read")});
  EXPECT_EQ(FleetSummaryCsv(summary),
            "Status,Site,Nodes,Time,Stage,Step,FAIL,WARN,INFO,First FAIL or reason,Report,R02\r\n"
            "NOT READ,'-site,,,,,,,,the file could not be read,'-site/r.json,\r\n"
            "FAIL,'=cmd|' /C calc'!A0,\"node-a, node-b\",2026-12-08 14:30:05,1,2,1,0,0,"
            "\"R02: <script>alert(\"\"x\"\")</script>, on HB1\",'=cmd|' /C calc'!A0/r.json,1\r\n");
  const std::string html = FleetSummaryHtml(summary, {L"reports"}, LocalDateTime{2026, 12, 8, 14, 30, 5});
  EXPECT_NE(html.find("&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt;"), std::string::npos);
  EXPECT_EQ(html.find("<script>"), std::string::npos);
  EXPECT_NE(html.find("2 reports under reports, summarized 2026-12-08 14:30:05."), std::string::npos);
  EXPECT_EQ(FleetSummaryBaseName(LocalDateTime{2026, 1, 2, 3, 4, 5}), L"fleet-summary-20260102-030405");
}
