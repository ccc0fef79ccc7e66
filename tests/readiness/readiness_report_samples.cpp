// Writes readiness reports of a few representative pairs into a folder, for the schema and HTML checkers.
//   readiness_report_samples FOLDER
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/text_encoding.h"
#include "report/readiness_report.h"
#include "support/readiness_pair.h"

namespace {

// The demo lab's pair, as Step 2 reads it: two CLAN addresses on each node.
ReportInput DemoPair() {
  ReadinessPair pair = HealthyPair();
  pair.entries.ClanTestIp = L"10.1.1.1";
  pair.node1.Clan.IpAddresses.push_back(L"10.1.1.101");
  pair.node2.Clan.IpAddresses.push_back(L"10.1.1.102");
  ReportInput input = ReportInputFor(pair, 2);
  // Probed from node-a: HB2 unplugged, the mirror slow and lossy, the managed addresses silent.
  input.links.plan = MakeProbePlan(pair.entries, pair.node1, pair.node2, L"NODE-A");
  for (const AdapterProbe& adapter : input.links.plan.adapters) {
    input.links.adapters.push_back(
        {adapter, adapter.link == Link::Hb2 ? AdapterState::Disconnected : AdapterState::Connected, status::Success});
  }
  for (const ProbeTarget& target : input.links.plan.targets) {
    TargetResult result;
    result.target = target;
    result.sent = target.link != Link::Hb2;
    const bool managed = target.kind == ProbeKind::ManagedClan || target.kind == ProbeKind::ManagedElan;
    if (result.sent && !managed)
      result.roundTripsMs =
          target.link == Link::Mirror ? std::vector<std::uint32_t>{12, 14} : std::vector<std::uint32_t>{0, 1, 0};
    result.answered = static_cast<int>(result.roundTripsMs.size());
    input.links.targets.push_back(result);
  }
  return input;
}

// The crossed-heartbeats lab in stage 2, with a service down: Step 3's own report fails too.
ReportInput CrossedHeartbeats() {
  ReadinessPair pair = HealthyPair();
  SetLink(pair.node2.Hb1, L"192.168.102.12", L"255.255.255.0");
  SetLink(pair.node2.Hb2, L"192.168.101.12", L"255.255.255.0");
  pair.node2.MirrorServiceStatus = L"Not started";
  ReportInput input = ReportInputFor(pair, 3);
  input.validationPassed = false;
  input.validationLines = {L"At least one of the EMC services on server node-b is not running."};
  input.links.plan = SkippedProbePlan(ProbeSkip::TurnedOff, L"NODE-A");
  return input;
}

// A pair with something wrong almost everywhere, and registry values that must stay text.
ReportInput ManyFindings() {
  ReadinessPair pair = HealthyPair();
  pair.entries.ManagedClanIp = L"10.9.1.5";
  pair.entries.ClanTestIp = L"10.1.1.11";
  pair.node2.Clan = cNIC{};
  pair.node2.Clan.Domain = L"<script>alert('domain')</script>";
  pair.node1.Clan.Domain = L"h\u00e4.example.local";
  pair.node1.Clan.DefaultGateway = L"10.1.1.255";
  SetLink(pair.node1.Hb1, L"10.1.1.50", L"255.255.255.0");
  pair.node2.Mirror.SubnetMask = L"255.255.0.255";
  SetLink(pair.node2.Elan, L"10.2.2.011", L"255.255.255.0");
  pair.node1.SwitchIpAddress = L"10.2.2.250";
  pair.node2.SwitchIpAddress = L"10.2.2.251";
  pair.node1.Mirror.IpAddresses = {L"192.168.103.11", L"192.168.103.111"};
  ReportInput input = ReportInputFor(pair, 2);
  input.validationPassed = false;
  input.validationLines = {
      L"The switch IP addresses do not match. node-a = 10.2.2.250, node-b = 10.2.2.251",
      L"The CLAN domains do not match. node-a = h\u00e4.example.local, node-b = <script>alert('domain')</script>"};
  input.links.plan = SkippedProbePlan(ProbeSkip::NeitherNode, L"<NODE-C>");
  return input;
}

bool WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: readiness_report_samples FOLDER\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  struct Sample {
    const char* name;
    ReportInput input;
  };
  const Sample samples[] = {
      {"demo", DemoPair()}, {"crossed-heartbeats", CrossedHeartbeats()}, {"many-findings", ManyFindings()}};
  for (const Sample& sample : samples) {
    for (const auto& [extension, bytes] :
         {std::pair{".html", ReportHtml(sample.input)}, std::pair{".json", ReportJson(sample.input)}}) {
      const std::filesystem::path path = folder / (std::string(sample.name) + extension);
      if (!WriteFile(path, bytes)) {
        std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
        return 1;
      }
      std::printf("%s\n", path.string().c_str());
    }
  }
  return 0;
}
