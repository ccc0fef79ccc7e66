// The running executable's path, from /proc/self/exe.
#include "platform/executable_path.h"

#include <system_error>

std::filesystem::path ExecutablePath() {
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : executable;
}
