// Win32ServiceControl against Wine's service control manager: Wine's own services, running, stopped and absent.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>

#include "platform/win32/services_win32.h"

namespace {
struct ServiceHandleCloser {
  void operator()(SC_HANDLE handle) const { ::CloseServiceHandle(handle); }
};
using UniqueServiceHandle = std::unique_ptr<std::remove_pointer_t<SC_HANDLE>, ServiceHandleCloser>;

// Wine starts some of its services only when first needed: start this one and wait until it runs.
// Returns what went wrong, or nothing. While Wine's service manager still starts its own services
// after the prefix is made, it refuses with "database locked": that is waited out too.
std::string EnsureRunning(const wchar_t* name) {
  UniqueServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (!manager) return "OpenSCManagerW: " + std::to_string(GetLastError());
  UniqueServiceHandle service(OpenServiceW(manager.get(), name, SERVICE_START | SERVICE_QUERY_STATUS));
  if (!service) return "OpenServiceW: " + std::to_string(GetLastError());
  DWORD state = 0;
  const ULONGLONG deadline = GetTickCount64() + 60000;
  while (GetTickCount64() < deadline) {
    SERVICE_STATUS serviceStatus{};
    if (!QueryServiceStatus(service.get(), &serviceStatus))
      return "QueryServiceStatus: " + std::to_string(GetLastError());
    state = serviceStatus.dwCurrentState;
    if (state == SERVICE_RUNNING) return {};
    if (state == SERVICE_STOPPED && !StartServiceW(service.get(), 0, nullptr) &&
        GetLastError() != ERROR_SERVICE_ALREADY_RUNNING && GetLastError() != ERROR_SERVICE_DATABASE_LOCKED) {
      return "StartServiceW: " + std::to_string(GetLastError());
    }
    Sleep(50);
  }
  return "still in state " + std::to_string(state);
}
}  // namespace

TEST(Win32ServiceControl, Interrogate_ReportsStateOrWin32Code) {
  ASSERT_EQ(EnsureRunning(L"PlugPlay"), "");
  Win32ServiceControl services;
  ScopedScHandle manager(services);
  // Wine ignores the host name and opens this computer's manager; an empty name is this computer.
  ASSERT_EQ(services.OpenServiceManager(L"", manager.Receive()), 0u);
  struct Case {
    const char* what;
    std::wstring name;
    Status openCode;
    Status interrogateCode;
    std::uint32_t state;
  };
  const Case cases[] = {
      {"running", L"PlugPlay", 0, 0, 4},
      {"installed but stopped", L"Spooler", 0, 1062, 0},
      {"no such service", L"No Such Duplex Service", 1060, 0, 0},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.what);
    ScopedScHandle service(services);
    ASSERT_EQ(services.OpenNamedService(manager.get(), row.name, service.Receive()), row.openCode);
    if (row.openCode != 0) {
      EXPECT_EQ(service.get(), 0u) << "the handle is left alone on failure";
      continue;
    }
    std::uint32_t state = 0;
    EXPECT_EQ(services.Interrogate(service.get(), &state), row.interrogateCode);
    EXPECT_EQ(state, row.state);
  }
}
