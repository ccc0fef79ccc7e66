// A SetupLogKit.dll that someone left where a search for it would find it: it tells when it is loaded or called.
#include "planted/planted_marker.h"

BOOL WINAPI DllMain(HINSTANCE /*instance*/, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) LeavePlantedMarker("planted SetupLogKit.dll loaded");
  return TRUE;
}

extern "C" __declspec(dllexport) int KOVA_WriteToInstallLogFile(const wchar_t* /*source*/, const wchar_t* /*message*/,
                                                                int /*messageClass*/, int /*target*/) {
  LeavePlantedMarker("planted SetupLogKit.dll called");
  return 0;
}
