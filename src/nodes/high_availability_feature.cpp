// Whether a server has the high-availability feature installed and enabled.
#include "nodes/high_availability_feature.h"

#include <cstdint>

#include "common/text_format.h"
#include "log/install_log.h"
#include "nodes/registry_number.h"
#include "nodes/registry_paths.h"

Status ReadHaFeature(Registry& registry, RegHandle root, InstallLog& log, HaFeature* feature) {
  RegKey key(registry);
  Status rc = registry.OpenKey(root, kProductKey, key.Receive());
  if (rc != status::Success) {
    log.Error(FormatText(L"RegOpenKeyEx(%s) failed. rc = %ld", {kProductKey, rc}));
    return rc;
  }
  std::uint32_t mode = 0;
  rc = QueryRegistryNumber(registry, key.get(), kHighAvailModeValue, &mode);
  key.Close();
  if (rc == status::FileNotFound) {
    *feature = HaFeature::NotInstalled;
    return status::Success;
  }
  if (rc != status::Success) {
    log.Error(FormatText(L"RegQueryValueEx(%s) failed. rc = %ld", {kHighAvailModeValue, rc}));
    return rc;
  }
  *feature = mode == 0 ? HaFeature::NotEnabled : mode == 1 ? HaFeature::Enabled : HaFeature::Unknown;
  return status::Success;
}

const wchar_t* HaFeatureText(HaFeature feature) {
  switch (feature) {
    case HaFeature::NotInstalled: return L"HA not installed";
    case HaFeature::NotEnabled: return L"HA not enabled";
    case HaFeature::Enabled: return L"HA enabled";
    case HaFeature::Unknown: break;
  }
  return L"Unknown";
}
