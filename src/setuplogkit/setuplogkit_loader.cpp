// Loads SetupLogKit by name at run time.
#include "setuplogkit/setuplogkit_loader.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>
#endif

#ifdef _WIN32

SetupLogKitLibrary::SetupLogKitLibrary(const std::string& logFileOverride) {
  if (!logFileOverride.empty()) {
    const int chars = MultiByteToWideChar(CP_UTF8, 0, logFileOverride.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(chars > 0 ? chars : 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, logFileOverride.c_str(), -1, wide.data(), chars);
    SetEnvironmentVariableW(L"" SETUPLOGKIT_LOG_FILE_VARIABLE, wide.c_str());
  }
  HMODULE module = LoadLibraryW(L"SetupLogKit.dll");
  if (module == nullptr) {
    problem_ = "SetupLogKit.dll could not be loaded (error " + std::to_string(GetLastError()) + ")";
    return;
  }
  module_ = module;
  write_ = reinterpret_cast<KovaWriteToInstallLogFileFn>(
      reinterpret_cast<void*>(GetProcAddress(module, "KOVA_WriteToInstallLogFile")));
  if (write_ == nullptr) problem_ = "SetupLogKit.dll has no KOVA_WriteToInstallLogFile";
}

SetupLogKitLibrary::~SetupLogKitLibrary() {
  if (module_ != nullptr) FreeLibrary(static_cast<HMODULE>(module_));
}

#else

namespace {
// The library is looked for beside the executable first, then by the loader's usual search.
std::string ExecutableFolder() {
  std::vector<char> buffer(4096);
  const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (length <= 0) return {};
  std::string path(buffer.data(), static_cast<std::size_t>(length));
  return path.substr(0, path.find_last_of('/') + 1);
}
}  // namespace

SetupLogKitLibrary::SetupLogKitLibrary(const std::string& logFileOverride) {
  if (!logFileOverride.empty()) ::setenv(SETUPLOGKIT_LOG_FILE_VARIABLE, logFileOverride.c_str(), 1);
  const char* name = "libSetupLogKit.so";
  module_ = ::dlopen((ExecutableFolder() + name).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module_ == nullptr) module_ = ::dlopen(name, RTLD_NOW | RTLD_LOCAL);
  if (module_ == nullptr) {
    const char* why = ::dlerror();
    problem_ = std::string(name) + " could not be loaded (" + (why ? why : "unknown reason") + ")";
    return;
  }
  write_ = reinterpret_cast<KovaWriteToInstallLogFileFn>(::dlsym(module_, "KOVA_WriteToInstallLogFile"));
  if (write_ == nullptr) problem_ = std::string(name) + " has no KOVA_WriteToInstallLogFile";
}

SetupLogKitLibrary::~SetupLogKitLibrary() {
  if (module_ != nullptr) ::dlclose(module_);
}

#endif
