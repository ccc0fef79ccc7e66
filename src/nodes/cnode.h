// One server as the wizard gathers it: its record, and the operations that read it over the
// server's registry and service control manager.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "nodes/cnic.h"
#include "nodes/node_record.h"
#include "nodes/ownerless_message_box.h"
#include "platform/platform.h"

class InstallLog;

// Every operation is defined in nodes/cnode.cpp.
class cNode : public NodeRecord {
 public:
  cNode(Platform& platform, InstallLog& log, OwnerlessMessageBox& ownerlessBox)
      : RemoteRegistry(platform.registry), platform_(&platform), log_(&log), ownerlessBox_(&ownerlessBox) {}

  // Gathers the whole server: interfaces, switch address and feature state over its registry,
  // then the four service states over its service control manager. Failures of the registry
  // stages are shown in an owner-less box; every stage is logged. 0, 87 for an empty host
  // name, or the code of the first stage that failed.
  [[nodiscard]] Status GetNodeInfo();

  // One string value of `keyPath` (relative to RemoteRegistry), read through a 255-byte buffer;
  // a multi-string yields its first string. A value holding a control character (a line break,
  // a tab ...) is refused with 13 and leaves `result` as it was.
  [[nodiscard]] Status GetRegKeyStringValue(std::wstring keyPath, std::wstring valueName, std::wstring& result);
  // Finds the interface GUIDs of the five named connections under the network class key.
  [[nodiscard]] Status GetNICUUIDs();
  // Reads address, mask (and for CLAN gateway and domain) of every interface GUIDs found.
  [[nodiscard]] Status GetNICDetails();
  // The state text of one service; a missing, stopped or hung service is a state, not a failure.
  [[nodiscard]] Status GetServiceStatus(ScHandle serviceManager, std::wstring serviceName, std::wstring& stateText);
  // "HA not installed", "HA not enabled", "HA enabled" or "Unknown" into HaFeatureStatus.
  [[nodiscard]] Status GetHighAvailabilityStatus();

  // Open only while a gathering runs; closed on every path before it returns.
  RegKey RemoteRegistry;

 private:
  [[nodiscard]] Status GatherFromRegistry();
  [[nodiscard]] Status GatherServiceStates();
  [[nodiscard]] Status OpenRemoteKey(const std::wstring& keyPath, RegKey& key);
  [[nodiscard]] Status WalkSubkeys(const wchar_t* keyPath, const std::function<Status(const std::wstring&)>& visit);
  // Every string of the value as read through the reader's buffer: one for a string, each of a
  // multi-string in order. Logged as GetRegKeyStringValue logs; a failed query leaves one empty
  // string, any earlier failure leaves `strings` untouched. A string holding a control character
  // is corrupt data: 13.
  [[nodiscard]] Status GetRegKeyStrings(const std::wstring& keyPath, const std::wstring& valueName,
                                        std::vector<std::wstring>& strings);
  [[nodiscard]] Status ReadInterface(cNIC& nic, const std::wstring& interfacePath, const wchar_t* subnetMaskLine,
                                     const wchar_t* subnetLine, bool readsGatewayAndDomain);
  [[nodiscard]] Status ReadInterfaceValue(const std::wstring& interfacePath, const wchar_t* valueName,
                                          std::wstring& field);

  Platform* platform_;
  InstallLog* log_;
  OwnerlessMessageBox* ownerlessBox_;
};
