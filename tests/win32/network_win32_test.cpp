// Win32Network against Wine's IP helper, on loopback only: echoes between 127.0.0.0/8 addresses,
// the loopback adapter's state and the code of a GUID that names no adapter. This build of the
// backend stops the test run at any echo meant for an address outside 127.0.0.0/8.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/network_win32.h"

namespace {

// The interface GUID of Wine's loopback adapter, as GetAdaptersAddresses names it ("{...}").
std::wstring LoopbackAdapterGuid() {
  ULONG size = 16 * 1024;
  std::vector<unsigned char> buffer(size);
  ULONG rc = GetAdaptersAddresses(AF_INET, 0, nullptr, reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
  if (rc == ERROR_BUFFER_OVERFLOW) {
    buffer.resize(size);
    rc = GetAdaptersAddresses(AF_INET, 0, nullptr, reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
  }
  if (rc != NO_ERROR) return {};
  for (auto* adapter = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()); adapter != nullptr;
       adapter = adapter->Next) {
    if (adapter->IfType == IF_TYPE_SOFTWARE_LOOPBACK) {
      const std::string name = adapter->AdapterName;
      return std::wstring(name.begin(), name.end());
    }
  }
  return {};
}

}  // namespace

TEST(Win32Network, Echo_OnLoopbackAnswersAndRefusesWhatIsNoAddress) {
  Win32Network network;
  struct Case {
    const char* what;
    const wchar_t* from;
    const wchar_t* to;
    Status expected;
  };
  const Case cases[] = {
      {"loopback to itself", L"127.0.0.1", L"127.0.0.1", 0},
      {"source not a dotted quad", L"127.0.0", L"127.0.0.1", 87},
      {"destination not a dotted quad", L"127.0.0.1", L"127.0.0.256", 87},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.what);
    std::uint32_t roundTrip = 4242;
    EXPECT_EQ(network.Echo(row.from, row.to, 1000, &roundTrip), row.expected);
    if (row.expected == 0) {
      EXPECT_LT(roundTrip, 1000u);
    } else {
      EXPECT_EQ(roundTrip, 4242u) << "left alone on failure";
    }
  }
}

TEST(Win32Network, QueryAdapterConnected_LoopbackIsConnectedAndAnUnknownGuidGivesItsCode) {
  Win32Network network;
  const std::wstring loopback = LoopbackAdapterGuid();
  ASSERT_FALSE(loopback.empty()) << "GetAdaptersAddresses lists no loopback adapter";
  struct Case {
    const char* what;
    std::wstring guid;
    Status expected;
    bool connected;
  };
  const Case cases[] = {
      {"the loopback adapter", loopback, 0, true},
      {"a GUID of no adapter", L"{1A2B3C4D-0009-4000-8000-000000000009}", 87, false},
      {"not a GUID", L"HB1", 87, false},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.what);
    bool connected = false;
    EXPECT_EQ(network.QueryAdapterConnected(row.guid, &connected), row.expected);
    EXPECT_EQ(connected, row.connected);
  }
}
