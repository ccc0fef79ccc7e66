// The running executable's folder, from /proc/self/exe.
#include "platform/executable_folder.h"

#include <system_error>

std::filesystem::path ExecutableFolder() {
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : executable.parent_path();
}
