// The ten entries the user types and the stage they belong to: the plain input of the checks and
// file builders, kept apart from any window.
#pragma once

#include <cstdint>
#include <string>

// The stage a defaults file records. Any other stored number is kept as it was read: the window
// then enables no step button of its own accord.
inline constexpr std::int32_t kStage1 = 0;  // Steps 1 and 2: gather, compare, save the answers
inline constexpr std::int32_t kStage2 = 1;  // Step 3: generate the definition file

struct Entries {
  std::int32_t WizardStage = kStage1;
  std::wstring Node2HostName;
  std::wstring Node1HostName;
  std::wstring ManagedHostName;
  std::wstring ManagedClanIp;
  std::wstring ManagedElanIp;
  std::wstring UserName;
  std::wstring WorkgroupDomainName;
  // The chosen board count's text: "1", "3" or empty.
  std::wstring BoardCount;
  std::wstring AutoStartDomain;
  std::wstring ClanTestIp;
};
