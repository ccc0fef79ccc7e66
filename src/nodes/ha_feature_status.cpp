// The state of a server's high-availability feature, read from its product configuration key.
#include <cstdint>

#include "app/install_log.h"
#include "common/text_format.h"
#include "nodes/cnode.h"
#include "nodes/registry_number.h"
#include "nodes/registry_paths.h"

namespace {
const wchar_t* FeatureStateText(std::uint32_t mode) {
  switch (mode) {
    case 0:
      return L"HA not enabled";
    case 1:
      return L"HA enabled";
    default:
      return L"Unknown";
  }
}
}  // namespace

Status cNode::GetHighAvailabilityStatus() {
  if (!RemoteRegistry.IsOpen()) {
    log_->Error(FormatText(L"GetHighAvailabilityStatus(%s) failed. Registry handle is NULL.", {HostName}));
    return status::InvalidHandle;
  }
  Registry& registry = platform_->registry;
  RegKey key(registry);
  Status rc = OpenRemoteKey(kProductKey, key);
  if (rc != status::Success) return rc;
  std::uint32_t mode = 0;
  rc = QueryRegistryNumber(registry, key.get(), kHighAvailModeValue, &mode);
  key.Close();
  if (rc == status::FileNotFound) {
    // Only a missing value under an existing key means the feature was never installed.
    HaFeatureStatus = L"HA not installed";
  } else if (rc != status::Success) {
    log_->Error(FormatText(L"RegQueryValueEx(%s) failed. rc = %ld", {kHighAvailModeValue, rc}));
    return rc;
  } else {
    HaFeatureStatus = FeatureStateText(mode);
  }
  log_->Info(FormatText(L"\tHigh Availability Feature = %s", {HaFeatureStatus}));
  return status::Success;
}
