// Node 2 of a pair under Wine, reached by its name as a key of this computer's registry.
#include "peer_registry.h"

#include <windows.h>

#include "common/text_case.h"

Status PeerRegistry::ConnectRegistry(const std::wstring& machineName, RegHandle* result) {
  if (!EqualsIgnoringAsciiCase(machineName, std::wstring(L"\\\\") + kPeerName)) {
    return inner().ConnectRegistry(machineName, result);
  }
  wchar_t computer[256] = {};
  DWORD chars = 256;
  GetComputerNameW(computer, &chars);
  RegKey local(inner());
  Status rc = inner().ConnectRegistry(L"\\\\" + std::wstring(computer, chars), local.Receive());
  if (rc != status::Success) return rc;
  // The peer's root stands for its connection: it is closed as a connection is.
  return inner().OpenKey(local.get(), kPeerRoot, result);
}
