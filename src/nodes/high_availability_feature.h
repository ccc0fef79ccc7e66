// Whether a server has the high-availability feature installed and enabled: read the same way from this computer
// at opening and from each server a gathering reads.
#pragma once

#include "common/status.h"
#include "platform/registry.h"

class InstallLog;

enum class HaFeature { NotInstalled, NotEnabled, Enabled, Unknown };

// Opens the product's key below `root` (a connection, or this computer's HKEY_LOCAL_MACHINE) and reads its
// HighAvailMode: only a missing value under an existing key means the feature was never installed. A failed call
// is logged as an error with its code and returned; `feature` is written on success only.
[[nodiscard]] Status ReadHaFeature(Registry& registry, RegHandle root, InstallLog& log, HaFeature* feature);

// "HA not installed", "HA not enabled", "HA enabled" or "Unknown", as the node information list shows it.
const wchar_t* HaFeatureText(HaFeature feature);
