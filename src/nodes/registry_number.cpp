// A registry value read as a 32-bit number, the way the product stores its switches.
#include "nodes/registry_number.h"

Status QueryRegistryNumber(Registry& registry, RegHandle key, const std::wstring& valueName, std::uint32_t* number) {
  std::uint8_t data[4] = {0, 0, 0, 0};
  std::uint32_t size = sizeof data;
  const Status rc = registry.QueryValue(key, valueName, data, &size);
  if (rc != status::Success) return rc;
  // Registry numbers are little-endian whatever the host.
  *number = static_cast<std::uint32_t>(data[0]) | (static_cast<std::uint32_t>(data[1]) << 8) |
            (static_cast<std::uint32_t>(data[2]) << 16) | (static_cast<std::uint32_t>(data[3]) << 24);
  return status::Success;
}
