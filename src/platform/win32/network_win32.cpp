// The network seam over the IP helper library: adapter state by interface GUID, and ICMP echoes.
#include "platform/win32/network_win32.h"

#include <winsock2.h>
#include <ws2ipdef.h>
#include <windows.h>
#include <iphlpapi.h>
#include <icmpapi.h>
#include <netioapi.h>
#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "common/unique_handle.h"

#if defined(__MINGW32__)
// mingw-w64's icmpapi.h lacks the one echo call that takes a source address; its import library has it.
extern "C" DWORD WINAPI IcmpSendEcho2Ex(HANDLE IcmpHandle, HANDLE Event, FARPROC ApcRoutine, PVOID ApcContext,
                                        IPAddr SourceAddress, IPAddr DestinationAddress, LPVOID RequestData,
                                        WORD RequestSize, PIP_OPTION_INFORMATION RequestOptions, LPVOID ReplyBuffer,
                                        DWORD ReplySize, DWORD Timeout);
#endif

namespace {

struct IcmpHandleTraits {
  using Handle = HANDLE;
  static Handle Null() { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Handle handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
  Status Close(Handle handle) const { return IcmpCloseHandle(handle) ? status::Success : GetLastError(); }
};
using ScopedIcmpHandle = UniqueHandle<IcmpHandleTraits>;

// A dotted quad as IcmpSendEcho2Ex takes it: in network byte order, the first number in the lowest byte.
bool ParseAddress(const std::wstring& text, IPAddr* address) {
  unsigned long value = 0;
  int parts = 0;
  std::size_t start = 0;
  for (;;) {
    const std::size_t dot = text.find(L'.', start);
    const std::size_t end = dot == std::wstring::npos ? text.size() : dot;
    if (end == start || end - start > 3) return false;
    unsigned long part = 0;
    for (std::size_t i = start; i < end; ++i) {
      if (text[i] < L'0' || text[i] > L'9') return false;
      part = part * 10 + static_cast<unsigned long>(text[i] - L'0');
    }
    if (part > 255 || parts == 4) return false;
    value |= part << (8 * parts++);
    if (dot == std::wstring::npos) break;
    start = dot + 1;
  }
  if (parts != 4) return false;
  *address = value;
  return true;
}

// What the echo carries: 32 bytes, as ping sends.
constexpr WORD kRequestBytes = 32;

}  // namespace

Status Win32Network::QueryAdapterConnected(const std::wstring& interfaceGuid, bool* connected) {
  GUID guid{};
  if (FAILED(IIDFromString(interfaceGuid.c_str(), &guid))) return status::InvalidParameter;
  MIB_IF_ROW2 row{};
  if (const DWORD rc = ConvertInterfaceGuidToLuid(&guid, &row.InterfaceLuid); rc != NO_ERROR) return rc;
  if (const DWORD rc = GetIfEntry2(&row); rc != NO_ERROR) return rc;
  // Some drivers never report their media state (unknown): then the adapter being up is all there is to know.
  *connected = row.OperStatus == IfOperStatusUp && row.MediaConnectState != MediaConnectStateDisconnected;
  return status::Success;
}

Status Win32Network::Echo(const std::wstring& source, const std::wstring& destination, std::uint32_t timeoutMs,
                          std::uint32_t* roundTripMs) {
  IPAddr from = 0;
  IPAddr to = 0;
  if (!ParseAddress(source, &from) || !ParseAddress(destination, &to)) return status::InvalidParameter;
#if defined(DUPLEX_NETWORK_LOOPBACK_ONLY)
  // The tests' build: nothing may leave this machine. An echo to anywhere but 127.0.0.0/8 is a
  // mistake in a test, and stops the test run where it is made instead of sending a packet.
  if ((to & 0xFF) != 127) {
    std::fprintf(stderr, "Refused: an echo to %ls, outside 127.0.0.0/8, from a test build.\n", destination.c_str());
    std::fflush(stderr);
    std::abort();
  }
#endif
  ScopedIcmpHandle icmp(IcmpCreateFile());
  if (!icmp.IsOpen()) return GetLastError();
  char request[kRequestBytes] = "DuplexSetupAssistant link probe";
  // Room for one reply with its data, an ICMP error's 8 bytes and an IO_STATUS_BLOCK (16 bytes), as the
  // call's documentation asks.
  std::vector<unsigned char> reply(sizeof(ICMP_ECHO_REPLY) + kRequestBytes + 8 + 16);
  const DWORD replies = IcmpSendEcho2Ex(icmp.get(), nullptr, nullptr, nullptr, from, to, request, kRequestBytes,
                                        nullptr, reply.data(), static_cast<DWORD>(reply.size()), timeoutMs);
  if (replies == 0) return GetLastError();
  const auto* echo = reinterpret_cast<const ICMP_ECHO_REPLY*>(reply.data());
  if (echo->Status != IP_SUCCESS) return echo->Status;
  *roundTripMs = echo->RoundTripTime;
  return status::Success;
}
