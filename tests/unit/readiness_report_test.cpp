// The readiness report writers: the file name, outside data kept as text, and the JSON's content.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "common/text_encoding.h"
#include "report/readiness_report.h"
#include "support/readiness_pair.h"

using nlohmann::json;

TEST(ReadinessReport, FileBaseNameIsTheRunsDateAndTime) {
  struct Case {
    ReportTime time;
    const wchar_t* name;
  };
  const Case cases[] = {{{2026, 12, 8, 14, 30, 5}, L"readiness-20261208-143005"},
                        {{2027, 1, 2, 3, 4, 5}, L"readiness-20270102-030405"},
                        {{2026, 10, 31, 23, 59, 59}, L"readiness-20261031-235959"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8FromWide(c.name));
    EXPECT_EQ(ReportFileBaseName(c.time), c.name);
  }
}

TEST(ReadinessReport, OutsideDataIsShownAsText) {
  const std::wstring hostile = L"<script>alert('x')</script> & \"quoted\"";
  const std::string escaped = "&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt; &amp; &quot;quoted&quot;";
  struct Case {
    const char* where;
    void (*place)(ReportInput&, const std::wstring&);
  };
  const Case cases[] = {
      {"CLAN domain", [](ReportInput& r, const std::wstring& v) { r.node2.Clan.Domain = v; }},
      {"host name", [](ReportInput& r, const std::wstring& v) { r.node1.HostName = v; }},
      {"service state", [](ReportInput& r, const std::wstring& v) { r.node1.AgentServiceStatus = v; }},
      {"an entry", [](ReportInput& r, const std::wstring& v) { r.entries.WorkgroupDomainName = v; }},
      {"computer", [](ReportInput& r, const std::wstring& v) { r.run.computer = v; }},
      {"validation line", [](ReportInput& r, const std::wstring& v) { r.validationLines = {v}; }},
      {"finding",
       [](ReportInput& r, const std::wstring& v) {
         r.findings.resize(1);
         r.findings[0].message = r.findings[0].remedy = v;
         r.findings[0].observed = {{v, v}};
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    ReportInput input = ReportInputFor(HealthyPair());
    c.place(input, hostile);
    const std::string html = ReportHtml(input);
    EXPECT_EQ(html.find("<script"), std::string::npos);
    EXPECT_NE(html.find(escaped), std::string::npos);

    const json parsed = json::parse(ReportJson(input));
    EXPECT_NE(parsed.dump().find(json(Utf8FromWide(hostile)).dump()), std::string::npos) << "kept as it was";
  }
}

TEST(ReadinessReport, JsonHoldsTheRunTheNodesAndTheFindings) {
  ReadinessPair pair = HealthyPair();
  SetLink(pair.node2.Hb1, L"192.168.102.12", L"255.255.255.0");
  SetLink(pair.node2.Hb2, L"192.168.101.12", L"255.255.255.0");
  pair.node1.Clan.IpAddresses.push_back(L"10.1.1.101");
  pair.node2.Mirror.SubnetMask = L"255.255.0.255";
  pair.node2.Clan.Domain = L"h\u00e4.example.local";
  ReportInput input = ReportInputFor(pair, 3);
  input.run.lab = L"/home/me/labs/site";
  input.validationPassed = false;
  input.validationLines = {L"At least one of the EMC services on server node-b is not running."};

  const json report = json::parse(ReportJson(input));
  EXPECT_EQ(report["schema"], "duplex-readiness/1");
  EXPECT_EQ(report["run"], json::parse(R"({"time": "2026-12-08T14:30:05", "computer": "NODE-A", "version": "1.0",
                                           "edition": "lab", "stage": 2, "step": 3,
                                           "lab": "/home/me/labs/site"})"));
  EXPECT_EQ(report["entries"]["managed_clan_ip"], "10.1.1.5");
  const json& node1 = report["nodes"][0];
  const json& node2 = report["nodes"][1];
  EXPECT_EQ(node1["links"]["CLAN"], json::parse(R"({"address": "10.1.1.11", "addresses": ["10.1.1.11", "10.1.1.101"],
      "mask": "255.255.255.0", "network": "10.1.1.0", "gateway": "10.1.1.1", "domain": "ha.example.local"})"));
  EXPECT_EQ(node2["host"], "node-b");
  EXPECT_EQ(node2["links"]["CLAN"]["domain"], "h\xc3\xa4.example.local");
  EXPECT_TRUE(node2["links"]["MIRROR"]["network"].is_null()) << "no network under an unusable mask";
  EXPECT_EQ(node2["services"]["transport"], "Running");
  EXPECT_EQ(report["validation"], json::parse(R"({"passed": false,
      "lines": ["At least one of the EMC services on server node-b is not running."]})"));

  ASSERT_EQ(report["findings"].size(), input.findings.size());
  const json& crossed = report["findings"][0];
  EXPECT_EQ(crossed["id"], "R07");
  EXPECT_EQ(crossed["check"], "crossed-links");
  EXPECT_EQ(crossed["severity"], "FAIL");
  EXPECT_EQ(crossed["links"], json::parse(R"(["HB1", "HB2"])"));
  EXPECT_EQ(crossed["nodes"], json::parse("[1, 2]"));
  EXPECT_EQ(crossed["observed"]["node-b HB1 address"], "192.168.102.12");
  EXPECT_EQ(crossed["message"], Utf8FromWide(input.findings[0].message));
  const FindingCounts counts = CountFindings(input.findings);
  EXPECT_EQ(report["summary"], (json{{"fail", counts.fail}, {"warn", counts.warn}, {"info", counts.info}}));
  EXPECT_EQ(counts.fail, 1);
}

TEST(ReadinessReport, TextThatIsNoUnicodeStillGivesValidJson) {
  ReadinessPair pair = HealthyPair();
  // A lone surrogate, as a damaged registry string can hold.
  pair.node1.Clan.Domain = std::wstring(L"ha") + static_cast<wchar_t>(0xD800) + L".local";
  const std::string text = ReportJson(ReportInputFor(pair));
  EXPECT_TRUE(json::accept(text));
}

// A node name is never broken at its hyphen, in any text that holds it, and an empty value is shown as such.
TEST(ReadinessReport, HtmlKeepsNodeNamesWholeAndShowsEmptyValues) {
  ReadinessPair pair = HealthyPair();
  pair.node2.Clan.Domain.clear();
  SetLink(pair.node2.Hb1, L"192.168.110.12", L"255.255.255.0");
  const std::string html = ReportHtml(ReportInputFor(pair));
  const std::string body = html.substr(html.find("<body>"));
  for (const std::string name : {"node-a", "node-b"}) {
    SCOPED_TRACE(name);
    std::size_t names = 0;
    std::size_t kept = 0;
    for (std::size_t at = body.find(name); at != std::string::npos; at = body.find(name, at + 1)) ++names;
    const std::string whole = "<span class=\"node\">" + name + "</span>";
    for (std::size_t at = body.find(whole); at != std::string::npos; at = body.find(whole, at + 1)) ++kept;
    EXPECT_GT(names, 2u) << "in the heading, the findings and the servers";
    EXPECT_EQ(kept, names);
  }
  EXPECT_NE(body.find("<td class=\"differs\"><span class=\"empty\">\xE2\x80\x94</span></td>"), std::string::npos);
  EXPECT_EQ(body.find("<td></td>"), std::string::npos);
  EXPECT_EQ(body.find("<td class=\"differs\"></td>"), std::string::npos);
}
