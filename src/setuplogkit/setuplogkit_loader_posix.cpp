// Loads libSetupLogKit.so, beside the executable first, then by the dynamic loader's usual search.
#include "setuplogkit/setuplogkit_loader.h"

#include <dlfcn.h>

#include <cerrno>
#include <cstdlib>

#include "platform/executable_path.h"

namespace {
constexpr char kLibraryName[] = "libSetupLogKit.so";
}  // namespace

Status LoadedLibraryTraits::Close(Handle library) const {
  // dlclose reports no error code; EINVAL stands for its failure.
  return ::dlclose(library) == 0 ? 0 : EINVAL;
}

SetupLogKitLibrary::SetupLogKitLibrary(const std::string& logFileOverride) {
  if (!logFileOverride.empty()) ::setenv(SETUPLOGKIT_LOG_FILE_VARIABLE, logFileOverride.c_str(), 1);
  // The loader's own search never looks in the current directory, unlike Windows' search.
  *module_.Receive() = ::dlopen((ExecutableFolder() / kLibraryName).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!module_.IsOpen()) *module_.Receive() = ::dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
  if (!module_.IsOpen()) {
    const char* why = ::dlerror();
    problem_ = std::string(kLibraryName) + " could not be loaded (" + (why ? why : "unknown reason") + ")";
    return;
  }
  write_ = reinterpret_cast<KovaWriteToInstallLogFileFn>(::dlsym(module_.get(), "KOVA_WriteToInstallLogFile"));
  if (write_ == nullptr) problem_ = std::string(kLibraryName) + " has no KOVA_WriteToInstallLogFile";
}
