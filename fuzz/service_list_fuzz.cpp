// Feeds arbitrary bytes to the services.txt reader: it must answer with a list or a line-numbered error.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "common/text_case.h"
#include "platform/lab/service_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::vector<LabService> services;
  ServiceListError error;
  if (!ReadServiceList(bytes, &services, &error)) {
    if (error.line < 1 || error.reason.empty() || !services.empty()) __builtin_trap();
    return 0;
  }
  // What the service manager is given must be names it can tell apart.
  std::set<std::wstring> names;
  for (const LabService& service : services) {
    if (service.name.empty() || !names.insert(ToLowerAscii(service.name)).second) __builtin_trap();
  }
  return 0;
}
