// Loads SetupLogKit.dll from the program's own folder, by its full path and never by a search.
#include "setuplogkit/setuplogkit_loader.h"

#include <windows.h>

#include "platform/executable_path.h"

namespace {
constexpr wchar_t kLibraryName[] = L"SetupLogKit.dll";
}  // namespace

Status LoadedLibraryTraits::Close(Handle library) const {
  return FreeLibrary(static_cast<HMODULE>(library)) ? ERROR_SUCCESS : GetLastError();
}

SetupLogKitLibrary::SetupLogKitLibrary(const std::string& logFileOverride) {
  if (!logFileOverride.empty()) {
    const int chars = MultiByteToWideChar(CP_UTF8, 0, logFileOverride.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(chars > 0 ? chars : 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, logFileOverride.c_str(), -1, wide.data(), chars);
    SetEnvironmentVariableW(L"" SETUPLOGKIT_LOG_FILE_VARIABLE, wide.c_str());
  }
  // A search by name would look in the current directory and on PATH too, and the program is run
  // from download folders where anyone can leave a DLL of that name. Only the copy beside the
  // program counts; without it the library is missing, whatever other copy there may be. Its own
  // imports come from the system folder and the program's folder alone.
  const std::filesystem::path folder = ExecutableFolder();
  if (folder.empty()) {
    problem_ = "SetupLogKit.dll could not be loaded (error " + std::to_string(GetLastError()) + ")";
    return;
  }
  const std::wstring path = (folder / kLibraryName).wstring();
  HMODULE module =
      LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module == nullptr) {
    problem_ = "SetupLogKit.dll could not be loaded (error " + std::to_string(GetLastError()) + ")";
    return;
  }
  *module_.Receive() = module;
  write_ = reinterpret_cast<KovaWriteToInstallLogFileFn>(
      reinterpret_cast<void*>(GetProcAddress(module, "KOVA_WriteToInstallLogFile")));
  if (write_ == nullptr) problem_ = "SetupLogKit.dll has no KOVA_WriteToInstallLogFile";
}
