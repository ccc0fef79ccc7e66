// The readiness report a support engineer opens in any browser: one self-contained HTML page.
#include <algorithm>
#include <string>
#include <vector>

#include "common/text_encoding.h"
#include "common/text_format.h"
#include "report/html_text.h"
#include "report/readiness_report.h"
#include "report/report_values.h"
#include "validation/readiness_checks.h"

namespace {

// No script and nothing fetched: the page must open offline, from a mail attachment, as is.
constexpr wchar_t kStyle[] =
    L"thead th,tr.group th{background:#ececec}"
    L"tbody th{font-weight:normal;background:#f7f7f7}"
    L".counts{margin:16px 0}"
    L".counts span{display:inline-block;padding:6px 14px;margin-right:8px;border-radius:4px;font-weight:bold}"
    L".fail{background:#fde2e1;color:#8a1c14}"
    L".warn{background:#fff1c9;color:#6b4d00}"
    L".info{background:#e3eefc;color:#17457a}"
    L".pass{background:#e2f5e4;color:#1d5e27}"
    L"td.severity{font-weight:bold}"
    L"td.differs{background:#fff1c9}"
    L".observed{font-family:Consolas,\"DejaVu Sans Mono\",monospace;font-size:12px;white-space:nowrap}"
    L"td.check{white-space:nowrap}"
    L".node{white-space:nowrap}"
    L".empty{color:#777}"
    L"p.note{color:#555;font-size:12px}";

const wchar_t* SeverityClass(Severity severity) {
  switch (severity) {
    case Severity::Fail: return L"fail";
    case Severity::Warn: return L"warn";
    case Severity::Info: return L"info";
  }
  return L"";
}

class Page {
 public:
  // `nodeNames` are kept whole wherever text holds them: a browser breaks a line at the hyphen of
  // "node-b" otherwise.
  explicit Page(std::vector<std::wstring> nodeNames) : nodeNames_(std::move(nodeNames)) {
    nodeNames_.erase(std::remove(nodeNames_.begin(), nodeNames_.end(), std::wstring()), nodeNames_.end());
    // The longer of two names that start alike is matched first.
    std::sort(nodeNames_.begin(), nodeNames_.end(), [](const auto& a, const auto& b) { return a.size() > b.size(); });
  }

  void Raw(const std::wstring& html) { html_ += html; }
  void Text(const std::wstring& text) {
    for (std::size_t i = 0; i < text.size();) {
      const auto name = std::find_if(nodeNames_.begin(), nodeNames_.end(),
                                     [&](const std::wstring& n) { return text.compare(i, n.size(), n) == 0; });
      if (name == nodeNames_.end()) {
        html_ += HtmlEscaped(std::wstring(1, text[i++]));
        continue;
      }
      html_ += L"<span class=\"node\">" + HtmlEscaped(*name) + L"</span>";
      i += name->size();
    }
  }
  // A value of a table: an empty one is shown as such, not as nothing.
  void Value(const std::wstring& text) {
    if (text.empty()) {
      html_ += L"<span class=\"empty\">\u2014</span>";
    } else {
      Text(text);
    }
  }
  void Heading(const wchar_t* title) { html_ += FormatText(L"<h2>%s</h2>\n", {title}); }
  // A row of a label and values; `differs` marks values that should agree between the nodes.
  void Row(const std::wstring& label, std::initializer_list<std::wstring> values, bool differs = false) {
    html_ += L"<tr><th>" + HtmlEscaped(label) + L"</th>";
    for (const std::wstring& value : values) {
      html_ += differs ? L"<td class=\"differs\">" : L"<td>";
      Value(value);
      html_ += L"</td>";
    }
    html_ += L"</tr>\n";
  }
  void GroupRow(const std::wstring& title) {
    html_ += L"<tr class=\"group\"><th colspan=\"3\">" + HtmlEscaped(title) + L"</th></tr>\n";
  }
  const std::wstring& Html() const { return html_; }

 private:
  std::vector<std::wstring> nodeNames_;
  std::wstring html_;
};

std::wstring NodeName(const NodeRecord& node, int number) {
  return node.HostName.empty() ? FormatText(L"Node %d", {number}) : node.HostName;
}

void WriteCounts(Page& page, const std::vector<Finding>& findings) {
  const FindingCounts counts = CountFindings(findings);
  page.Raw(
      FormatText(L"<div class=\"counts\"><span class=\"fail\">%d FAIL</span><span class=\"warn\">%d WARN</span>"
                 L"<span class=\"info\">%d INFO</span></div>\n",
                 {counts.fail, counts.warn, counts.info}));
}

void WriteFindings(Page& page, const ReportInput& input) {
  page.Heading(L"Findings");
  if (input.findings.empty()) {
    page.Raw(L"<p>The readiness checks found nothing to report.</p>\n");
    return;
  }
  page.Raw(
      L"<table>\n<thead><tr><th>Severity</th><th>Check</th><th>Links</th><th>Nodes</th><th>Finding</th>"
      L"<th>Remedy</th><th>Observed</th></tr></thead>\n<tbody>\n");
  for (const Finding& finding : input.findings) {
    std::wstring links;
    for (const Link link : finding.links) links += (links.empty() ? L"" : L"/") + std::wstring(LinkName(link));
    std::wstring nodes;
    for (const int number : finding.nodes) {
      nodes += (nodes.empty() ? L"" : L", ") + NodeName(number == 1 ? input.node1 : input.node2, number);
    }
    page.Raw(FormatText(L"<tr><td class=\"severity %s\">%s",
                        {SeverityClass(finding.severity), SeverityName(finding.severity)}));
    page.Raw(L"</td><td class=\"check\">");
    page.Text(finding.id + L" " + finding.check);
    page.Raw(L"</td><td>");
    page.Value(links);
    page.Raw(L"</td><td>");
    page.Value(nodes);
    page.Raw(L"</td><td>");
    page.Text(finding.message);
    page.Raw(L"</td><td>");
    page.Text(finding.remedy);
    page.Raw(L"</td><td class=\"observed\">");
    for (std::size_t i = 0; i < finding.observed.size(); ++i) {
      if (i > 0) page.Raw(L"<br>");
      page.Text(finding.observed[i].name + L": " + finding.observed[i].value);
    }
    page.Raw(L"</td></tr>\n");
  }
  page.Raw(L"</tbody>\n</table>\n");
}

const wchar_t* AdapterStateText(AdapterState state) {
  switch (state) {
    case AdapterState::Connected: return L"connected";
    case AdapterState::Disconnected: return L"disconnected";
    case AdapterState::Unknown: return L"unknown";
  }
  return L"";
}

void WriteLinkProbes(Page& page, const ReportInput& input) {
  const LinkProbeResults& links = input.links;
  page.Heading(L"Live link probes");
  if (links.plan.skip == ProbeSkip::TurnedOff) {
    page.Raw(L"<p>The probes were turned off for this run.</p>\n");
    return;
  }
  if (links.plan.skip == ProbeSkip::NeitherNode) {
    page.Raw(L"<p>No probes: the program ran on ");
    page.Text(links.plan.computerName);
    page.Raw(L", which is neither node.</p>\n");
    return;
  }
  if (links.plan.here == 0) {
    page.Raw(L"<p>No probes were run.</p>\n");
    return;
  }
  page.Raw(FormatText(L"<p>From Node %d, ", {links.plan.here}));
  page.Text(links.plan.hereName);
  page.Raw(FormatText(L": %d echoes to each address, %d ms apart, each waiting at most %d ms.</p>\n",
                      {kEchoesPerTarget, static_cast<int>(kEchoIntervalMs), static_cast<int>(kEchoTimeoutMs)}));
  if (links.targets.empty()) {
    page.Raw(L"<p>Nothing to probe: no link holds usable addresses on both nodes.</p>\n");
    return;
  }
  page.Raw(
      L"<table>\n<thead><tr><th>Probe</th><th>Adapter</th><th>From</th><th>To</th><th>Answered</th>"
      L"<th>Round trip min/avg/max</th></tr></thead>\n<tbody>\n");
  for (const TargetResult& result : links.targets) {
    const bool silent = result.sent && result.answered == 0;
    const AdapterState adapter = AdapterStateOf(links, result.target.link);
    std::wstring answered = L"not probed";
    if (result.sent) answered = FormatText(L"%d of %d", {result.answered, kEchoesPerTarget});
    std::wstring trips;
    if (result.answered > 0) {
      const RoundTripSummary summary = SummarizeRoundTrips(result.roundTripsMs);
      trips = FormatText(L"%d / %s / %d ms", {summary.min, MillisecondsText(summary.average), summary.max});
    }
    page.Raw(L"<tr><th>");
    page.Text(ProbeTargetName(result.target));
    page.Raw(adapter == AdapterState::Disconnected ? L"</th><td class=\"fail\">" : L"</th><td>");
    page.Text(FormatText(L"%s %s", {LinkName(result.target.link), AdapterStateText(adapter)}));
    page.Raw(L"</td><td>");
    page.Text(result.target.from);
    page.Raw(L"</td><td>");
    page.Text(result.target.to);
    page.Raw(silent || !result.sent ? L"</td><td class=\"differs\">" : L"</td><td>");
    page.Text(answered);
    page.Raw(L"</td><td>");
    page.Text(trips);
    page.Raw(L"</td></tr>\n");
  }
  page.Raw(L"</tbody>\n</table>\n");
}

void WriteValidation(Page& page, const ReportInput& input) {
  page.Heading(L"Validation report");
  page.Raw(FormatText(L"<p>Step %d's own comparison of the two servers ", {input.run.step}));
  page.Raw(input.validationPassed ? L"<span class=\"pass\">passed</span>.</p>\n"
                                  : L"<span class=\"fail\">failed</span>:</p>\n");
  if (input.validationLines.empty()) return;
  page.Raw(L"<ul>\n");
  for (const std::wstring& line : input.validationLines) {
    page.Raw(L"<li>");
    page.Text(line);
    page.Raw(L"</li>\n");
  }
  page.Raw(L"</ul>\n");
}

void WriteRun(Page& page, const ReportRun& run) {
  page.Heading(L"Run");
  page.Raw(L"<table>\n<tbody>\n");
  page.Row(L"Time", {ReportTimeText(run.time)});
  page.Row(L"Computer", {run.computer});
  page.Row(L"Program version", {run.version});
  page.Row(L"Edition", {run.edition});
  // A rehearsal says so, and where: its values are a lab's, not a server's.
  if (!run.lab.empty()) page.Row(L"Lab", {run.lab});
  page.Row(L"Stage", {std::to_wstring(run.stage)});
  page.Row(L"Step", {std::to_wstring(run.step)});
  page.Raw(L"</tbody>\n</table>\n");
}

void WriteEntries(Page& page, const Entries& entries) {
  page.Heading(L"Entries");
  page.Raw(L"<table>\n<tbody>\n");
  for (const report::EntryField& field : report::EntryFields(entries)) page.Row(field.label, {*field.value});
  page.Raw(L"</tbody>\n</table>\n");
}

std::wstring AddressList(const cNIC& nic) {
  std::wstring list;
  for (const std::wstring& address : LinkAddresses(nic)) list += (list.empty() ? L"" : L", ") + address;
  return list;
}

void WriteServers(Page& page, const NodeRecord& a, const NodeRecord& b) {
  page.Heading(L"Servers");
  page.Raw(L"<table>\n<thead><tr><th></th><th>Node 1</th><th>Node 2</th></tr></thead>\n<tbody>\n");
  // Rows the two nodes must agree on are marked where they do not.
  const auto agreeing = [&page](const wchar_t* label, const std::wstring& x, const std::wstring& y) {
    page.Row(label, {x, y}, x != y);
  };
  page.Row(L"Host name", {a.HostName, b.HostName});
  agreeing(L"Switch IP Address", a.SwitchIpAddress, b.SwitchIpAddress);
  agreeing(L"HA Feature", a.HaFeatureStatus, b.HaFeatureStatus);
  for (const Link link : kLinks) {
    const cNIC& x = LinkOf(a, link);
    const cNIC& y = LinkOf(b, link);
    page.GroupRow(LinkName(link));
    page.Row(L"Interface", {x.Uuid, y.Uuid});
    page.Row(L"IP Address", {AddressList(x), AddressList(y)});
    agreeing(L"Subnet Mask", x.SubnetMask, y.SubnetMask);
    agreeing(L"Network", report::LinkNetworkText(x), report::LinkNetworkText(y));
    // The gathering reads a gateway and a domain for the CLAN alone.
    if (link != Link::Clan) continue;
    agreeing(L"Default Gateway", x.DefaultGateway, y.DefaultGateway);
    agreeing(L"Domain", x.Domain, y.Domain);
  }
  page.GroupRow(L"Services");
  const auto servicesA = report::ServiceFields(a);
  const auto servicesB = report::ServiceFields(b);
  for (std::size_t i = 0; i < servicesA.size(); ++i) {
    agreeing(servicesA[i].label, *servicesA[i].state, *servicesB[i].state);
  }
  page.Raw(L"</tbody>\n</table>\n");
}

}  // namespace

std::string ReportHtml(const ReportInput& input) {
  const std::wstring pair = NodeName(input.node1, 1) + L" and " + NodeName(input.node2, 2);
  Page page({input.node1.HostName, input.node2.HostName});
  page.Raw(L"<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>Cluster Readiness: ");
  // A title holds text only.
  page.Raw(HtmlEscaped(pair + L", " + ReportTimeText(input.run.time)));
  page.Raw(L"</title>\n<style>");
  page.Raw(kReportPageBaseStyle);
  page.Raw(kStyle);
  page.Raw(L"</style>\n</head>\n<body>\n<h1>Cluster Readiness: ");
  page.Text(pair);
  page.Raw(L"</h1>\n");
  page.Raw(FormatText(L"<p>Stage %d, Step %d, ", {input.run.stage, input.run.step}));
  page.Text(ReportTimeText(input.run.time) + L", on " + input.run.computer);
  page.Raw(L"</p>\n");
  WriteCounts(page, input.findings);
  WriteFindings(page, input);
  WriteValidation(page, input);
  WriteLinkProbes(page, input);
  WriteRun(page, input.run);
  WriteEntries(page, input.entries);
  WriteServers(page, input.node1, input.node2);
  page.Raw(L"<p class=\"note\">Written by DuplexSetupAssistant ");
  page.Text(input.run.version + L" (" + input.run.edition + L" edition)");
  page.Raw(L". The same report for tools is the .json file beside this one (schema ");
  page.Text(WideFromUtf8(kReadinessReportSchema));
  // The reader has the program's README.txt (in the zip, or the package's documentation), not its source tree.
  page.Raw(L"), described in the README.txt that comes with the program.</p>\n</body>\n</html>\n");
  return Utf8FromWide(page.Html());
}
