// A registry value read as a 32-bit number, the way the product stores its switches.
#pragma once

#include <cstdint>
#include <string>

#include "platform/registry.h"

// Reads four bytes of data whatever the value's type; shorter data leaves the high-order bytes
// zero. Absent value: 2; more than four bytes (a string, say): 234. `number` is written on success only.
[[nodiscard]] Status QueryRegistryNumber(Registry& registry, RegHandle key, const std::wstring& valueName,
                                         std::uint32_t* number);
