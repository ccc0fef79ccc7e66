// Registry exports and service lists of a server prepared for the cluster, for tests and benchmarks.
#pragma once

#include <string>
#include <vector>

#include "support/temp_lab.h"

// .reg text (body only, without the export's header line) of one network adapter: its class
// subkey and, when `connectionName` is given, the Connection subkey naming it.
std::wstring AdapterExport(const std::wstring& guid, const std::wstring* connectionName);
// A REG_MULTI_SZ value as `reg export` writes it: hex(7) UTF-16LE with the closing empty string.
std::wstring MultiStringValue(const std::wstring& name, const std::vector<std::wstring>& entries);
// A TCP/IP interface key with its address and mask lists (and any further value lines).
std::wstring InterfaceExport(const std::wstring& guid, const std::vector<std::wstring>& addresses,
                             const std::vector<std::wstring>& masks, const std::wstring& moreValueLines = L"");

// The GUID of the five named adapters (index 0-4: CLAN, ELAN, HB1, HB2, MIRROR) and of extra ones.
std::wstring AdapterGuid(int index);

// A complete server as node `nodeNumber` (1 or 2) of a cluster: five named connections with
// addresses 10.<n>.<s>.<node> (CLAN with two addresses, gateway and domain), `extraAdapters`
// unnamed-for-the-cluster adapters with interfaces of their own, the switch address and
// HighAvailMode 1. Written as three exports like a field capture.
void AddClusterServer(TempLab& lab, const std::wstring& server, int nodeNumber, int extraAdapters = 0);

// A server the gathering reads in the fewest calls: the network keys with no adapter under them, the
// switch address and HighAvailMode 1, and a service manager that knows no service. For tests where
// every remote call of the server is slow.
void AddBareServer(TempLab& lab, const std::wstring& server);

// services.txt in its minimal form: the four clustering services of `domain`, in `state`
// (4 running, 1 stopped ...).
std::string ClusterServiceList(const std::wstring& domain, int state = 4);
