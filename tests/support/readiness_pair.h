// A healthy cluster pair built in code, the one the demo lab holds, for the readiness tests and tools to break.
#pragma once

#include <string>
#include <vector>

#include "common/entries.h"
#include "nodes/node_record.h"
#include "report/readiness_report.h"
#include "validation/readiness_checks.h"

struct ReadinessPair {
  Entries entries;
  NodeRecord node1;
  NodeRecord node2;
};

// Sets a link's one address and its mask.
inline void SetLink(cNIC& nic, const std::wstring& address, const std::wstring& mask) {
  nic.IpAddress = address;
  nic.IpAddresses = address.empty() ? std::vector<std::wstring>{} : std::vector<std::wstring>{address};
  nic.SubnetMask = mask;
}

// node-a and node-b as in lab/demo, each link with one address: CLAN 10.1.1.0/24 (gateway
// 10.1.1.1), ELAN 10.2.2.0/24 (switch 10.2.2.250), HB1, HB2 and MIRROR on 192.168.101-103.0/24,
// the nodes .11 and .12; managed CLAN 10.1.1.5, ELAN 10.2.2.5, CLAN test address 127.0.0.1.
inline NodeRecord HealthyNode(const std::wstring& host, int octet) {
  NodeRecord node;
  node.HostName = host;
  node.SwitchIpAddress = L"10.2.2.250";
  node.AutoStartDomain = L"ha1";
  node.HaFeatureStatus = L"HA enabled";
  node.AgentServiceStatus = node.BackboneServiceStatus = node.MirrorServiceStatus = node.TransportServiceStatus =
      L"Running";
  const std::wstring own = std::to_wstring(10 + octet);
  const wchar_t* names[] = {L"CLAN", L"ELAN", L"HB1", L"HB2", L"MIRROR"};
  const std::wstring networks[] = {L"10.1.1.", L"10.2.2.", L"192.168.101.", L"192.168.102.", L"192.168.103."};
  cNIC* links[] = {&node.Clan, &node.Elan, &node.Hb1, &node.Hb2, &node.Mirror};
  for (int i = 0; i < 5; ++i) {
    SetLink(*links[i], networks[i] + own, L"255.255.255.0");
    links[i]->ConnectionName = names[i];
    links[i]->Uuid =
        L"{1A2B3C4D-000" + std::to_wstring(i + 1) + L"-4000-8000-00000000000" + std::to_wstring(octet) + L"}";
    links[i]->Subnet = networks[i] + L"0";
  }
  node.Clan.DefaultGateway = L"10.1.1.1";
  node.Clan.Domain = L"ha.example.local";
  return node;
}

// The entries of lab/demo's answers file, which the rehearsal labs share but for the CLAN test address.
inline Entries DemoEntries() {
  Entries entries;
  entries.ManagedHostName = L"ha-managed";
  entries.ManagedClanIp = L"10.1.1.5";
  entries.ManagedElanIp = L"10.2.2.5";
  entries.Node1HostName = L"node-a";
  entries.Node2HostName = L"node-b";
  entries.BoardCount = L"3";
  entries.UserName = L"admin";
  entries.WorkgroupDomainName = L"workgroup";
  entries.AutoStartDomain = L"ha1";
  entries.ClanTestIp = L"127.0.0.1";
  return entries;
}

inline ReadinessPair HealthyPair() {
  ReadinessPair pair;
  pair.entries = DemoEntries();
  pair.node1 = HealthyNode(L"node-a", 1);
  pair.node2 = HealthyNode(L"node-b", 2);
  return pair;
}

// The report of a run of `step` on the pair, with the checks' findings, as the step would write it.
inline ReportInput ReportInputFor(const ReadinessPair& pair, int step = 2) {
  ReportInput input;
  input.run.time = ReportTime{2026, 12, 8, 14, 30, 5};
  input.run.computer = L"NODE-A";
  input.run.version = L"1.0";
  input.run.edition = L"lab";
  input.run.stage = step == 2 ? 1 : 2;
  input.run.step = step;
  input.entries = pair.entries;
  input.node1 = pair.node1;
  input.node2 = pair.node2;
  input.findings = RunReadinessChecks(pair.entries, pair.node1, pair.node2);
  return input;
}
