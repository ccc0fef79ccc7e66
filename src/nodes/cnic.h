// One of a server's five named network connections, as gathered from its registry.
#pragma once

#include <string>
#include <vector>

#include "common/status.h"

class InstallLog;

class cNIC {
 public:
  std::wstring IpAddress;
  // Every address the interface holds, in the registry's order; IpAddress is the first of them.
  std::vector<std::wstring> IpAddresses;
  std::wstring SubnetMask;
  std::wstring DefaultGateway;
  std::wstring Subnet;
  std::wstring Domain;
  std::wstring Uuid;
  std::wstring ConnectionName;

  // Derives `Subnet` from `IpAddress` AND `SubnetMask`, octet by octet. Bad input is
  // logged and answered with 87, and `Subnet` keeps its former value.
  [[nodiscard]] Status CalculateSubnet(InstallLog& log);
};
