// Everything the wizard learns about one server, read over its registry and service manager.
#pragma once

#include <string>

#include "nodes/cnic.h"
#include "platform/platform.h"

class InstallLog;
struct Platform;

class cNode {
 public:
  cNode(Platform& platform, InstallLog& log) : RemoteRegistry(platform.registry), platform_(&platform), log_(&log) {}

  std::wstring HaFeatureStatus;
  std::wstring MirrorServiceStatus;
  std::wstring TransportServiceStatus;
  std::wstring BackboneServiceStatus;
  std::wstring AgentServiceStatus;
  // Open only while a gathering runs; closed on every path before it returns.
  RegKey RemoteRegistry;
  cNIC Clan;
  cNIC Elan;
  cNIC Hb1;
  cNIC Hb2;
  cNIC Mirror;
  std::wstring HostName;
  std::wstring SwitchIpAddress;
  std::wstring AutoStartDomain;

 private:
  [[maybe_unused]] Platform* platform_;
  [[maybe_unused]] InstallLog* log_;
};
