// What the wizard learns about one server: plain values, as the checks, the list and the files read them.
#pragma once

#include <string>
#include <vector>

#include "nodes/cnic.h"

struct NodeRecord {
  std::wstring HaFeatureStatus;
  std::wstring MirrorServiceStatus;
  std::wstring TransportServiceStatus;
  std::wstring BackboneServiceStatus;
  std::wstring AgentServiceStatus;
  cNIC Clan;
  cNIC Elan;
  cNIC Hb1;
  cNIC Hb2;
  cNIC Mirror;
  std::wstring HostName;
  std::wstring SwitchIpAddress;
  std::wstring AutoStartDomain;
  // The connection names of the server's other adapters, none of the five: a near miss ("Clan")
  // is what the readiness checks point out when a link is not found.
  std::vector<std::wstring> OtherConnectionNames;
};
