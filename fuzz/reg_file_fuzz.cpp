// Feeds arbitrary bytes to the .reg reader: it must answer with a tree or a line-numbered error.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/lab/reg_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  RegistryKeyNode root(L"HKEY_LOCAL_MACHINE");
  RegFileError error;
  if (!ReadRegFile(bytes, root, &error) && (error.line < 1 || error.reason.empty())) __builtin_trap();
  // A second export over the first is how a server folder of several files is read.
  RegistryKeyNode again(L"HKEY_LOCAL_MACHINE");
  if (ReadRegFile(bytes, again, nullptr)) ReadRegFile(bytes, again, nullptr);
  return 0;
}
