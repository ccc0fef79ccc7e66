// The rules the ten entries must meet before Step 1 contacts any server.
#pragma once

#include <string>

#include "common/entries.h"

// The message of the first rule, in the fixed order, that the entries break; empty when they
// meet every rule. Comparisons are exact and case-sensitive.
std::wstring FirstBrokenEntryRule(const Entries& entries);

// Letters A-Z of either case and digits: what an AutoStart domain name may hold.
bool IsValidAutoStartDomain(const std::wstring& domain);
