// What the wizard learns about one server: plain values, as the checks, the list and the files read them.
#pragma once

#include <string>

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
};
