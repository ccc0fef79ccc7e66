#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>

#include "platform/lab/lab.h"
#include "platform/lab/lab_faults.h"
#include "platform/lab/lab_registry.h"
#include "platform/lab/lab_services.h"
#include "support/temp_lab.h"

namespace {
constexpr wchar_t kProductKey[] = L"SOFTWARE\\Zandor\\Vestamail\\ConfigWizard";
constexpr char kServices[] =
    "SERVICE_NAME: Dhcp\r\nSTATE : 4 RUNNING\r\n\r\n"
    "SERVICE_NAME: Alerter\r\nSTATE : 1 STOPPED\r\n\r\n"
    "SERVICE_NAME: Browser\r\nSTATE : 4 RUNNING\r\n";

// node-a is this computer; node-b the server across the network. Both hold the product key and services.
std::unique_ptr<Lab> LoadTwoServers(TempLab& temp, const std::string& faultsOfB = {}) {
  for (const wchar_t* server : {L"node-a", L"node-b"}) {
    temp.SetHighAvailMode(server, 1);
    temp.WriteServerFile(server, "services.txt", kServices);
  }
  if (!faultsOfB.empty()) temp.WriteServerFile(L"node-b", "faults.conf", faultsOfB);
  std::string error;
  auto lab = temp.Load(&error);
  EXPECT_NE(lab, nullptr) << error;
  return lab;
}

Status OpenAndClose(LabRegistry& registry, RegHandle parent, const std::wstring& subKey) {
  RegKey key(registry);
  return registry.OpenKey(parent, subKey, key.Receive());
}

Status ConnectAndClose(LabRegistry& registry, const std::wstring& host) {
  RegKey connection(registry);
  return registry.ConnectRegistry(host, connection.Receive());
}

// What interrogating `service` on `server` answers, from opening the manager on; 4 for running.
Status InterrogateOn(LabServiceControl& services, const std::wstring& server, const std::wstring& service,
                     std::uint32_t* state) {
  ScopedScHandle manager(services);
  if (Status s = services.OpenServiceManager(server, manager.Receive()); s != 0) return s;
  ScopedScHandle handle(services);
  if (Status s = services.OpenNamedService(manager.get(), service, handle.Receive()); s != 0) return s;
  return services.Interrogate(handle.get(), state);
}
}  // namespace

TEST(LabFaults, ServersFailToConnectAsToldAndOthersDoNot) {
  struct Case {
    const char* faults;
    Status registry;
    Status manager;
  };
  const Case cases[] = {
      {"unreachable = yes\n", 53, 1722},
      {"registry-connect-error = 5\n", 5, 0},
      {"registry-connect-error = 1722\n", 1722, 0},
      {"service-manager-error = 5\n", 0, 5},
      {"unreachable = no\n", 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.faults);
    TempLab temp;
    auto lab = LoadTwoServers(temp, c.faults);
    ASSERT_NE(lab, nullptr);
    EXPECT_EQ(ConnectAndClose(lab->Registry(), L"\\\\NODE-B"), c.registry);
    ScopedScHandle manager(lab->Services());
    EXPECT_EQ(lab->Services().OpenServiceManager(L"node-b", manager.Receive()), c.manager);
    manager.Close();
    EXPECT_EQ(ConnectAndClose(lab->Registry(), L"\\\\node-a"), 0u) << "the other server is unaffected";
    EXPECT_EQ(lab->OpenHandleCount(), 0u);
  }
}

TEST(LabFaults, DeniedKeyIsDeniedWhicheverHandleReachesIt) {
  TempLab temp;
  auto lab = LoadTwoServers(temp,
                            "deny-key = SOFTWARE\\Zandor\\Vestamail\\ConfigWizard\n"
                            "deny-key = SOFTWARE\\Zandor\\Absent\n");
  ASSERT_NE(lab, nullptr);
  LabRegistry& registry = lab->Registry();
  RegKey root(registry);
  ASSERT_EQ(registry.ConnectRegistry(L"\\\\node-b", root.Receive()), 0u);
  RegKey zandor(registry);
  ASSERT_EQ(registry.OpenKey(root.get(), L"software\\ZANDOR", zandor.Receive()), 0u) << "its parent opens";
  RegKey vestamail(registry);
  ASSERT_EQ(registry.OpenKey(zandor.get(), L"Vestamail", vestamail.Receive()), 0u);

  struct Case {
    const char* what;
    RegHandle parent;
    std::wstring subKey;
    Status expected;
  };
  const Case cases[] = {
      {"from HKEY_LOCAL_MACHINE", root.get(), kProductKey, 5},
      {"in another letter case, doubled backslash", root.get(), L"Software\\\\zandor\\VESTAMAIL\\configwizard\\", 5},
      {"from a grandparent", zandor.get(), L"Vestamail\\ConfigWizard", 5},
      {"from its parent", vestamail.get(), L"ConfigWizard", 5},
      {"a denied key that does not exist", zandor.get(), L"Absent", 5},
      {"a sibling", zandor.get(), L"Other", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(OpenAndClose(registry, c.parent, c.subKey), c.expected);
  }
  EXPECT_EQ(OpenAndClose(registry, registry.LocalMachine(), kProductKey), 0u) << "node-a's own key is readable";
}

TEST(LabFaults, LocalServerFaultsApplyToItsOwnRegistryToo) {
  TempLab temp(L"NODE-A");
  temp.WriteServerFile(L"node-a", "faults.conf", "deny-key = SOFTWARE\\Zandor\\Vestamail\\ConfigWizard\n");
  auto lab = LoadTwoServers(temp);
  ASSERT_NE(lab, nullptr);
  LabRegistry& registry = lab->Registry();
  RegKey software(registry);
  ASSERT_EQ(registry.OpenKey(registry.LocalMachine(), L"SOFTWARE", software.Receive()), 0u);
  EXPECT_EQ(OpenAndClose(registry, software.get(), L"Zandor\\Vestamail\\ConfigWizard"), 5u);
  EXPECT_EQ(OpenAndClose(registry, registry.LocalMachine(), kProductKey), 5u);
}

TEST(LabFaults, ServicesAnswerWithTheirFaultsAndStates) {
  TempLab temp;
  auto lab = LoadTwoServers(temp, "deny-service = dhcp\nservice-timeout = Browser\nservice-busy = ALERTER\n");
  ASSERT_NE(lab, nullptr);
  struct Case {
    const wchar_t* server;
    const wchar_t* service;
    Status expected;
    std::uint32_t state;
  };
  const Case cases[] = {
      {L"node-b", L"Dhcp", 5, 0},                                    // denied
      {L"node-b", L"Browser", 1053, 0},                              // times out although running
      {L"node-b", L"Alerter", 1061, 0},                              // busy wins over stopped
      {L"node-b", L"Missing", 1060, 0}, {L"node-a", L"DHCP", 0, 4},  // faults are per server
      {L"NODE-A", L"Alerter", 1062, 0}, {L"node-c", L"Dhcp", 1722, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "expecting " << c.expected);
    std::uint32_t state = 0;
    EXPECT_EQ(InterrogateOn(lab->Services(), c.server, c.service, &state), c.expected);
    EXPECT_EQ(state, c.state);
  }
  EXPECT_EQ(lab->OpenHandleCount(), 0u);
}

TEST(LabFaults, FaultsSetInCodeReplaceTheLoadedOnes) {
  TempLab temp;
  auto lab = LoadTwoServers(temp, "unreachable = yes\n");
  ASSERT_NE(lab, nullptr);
  LabServerFaults faults;
  faults.deniedServices = {L"Dhcp"};
  lab->SetFaults(L"NODE-B", faults);
  EXPECT_EQ(ConnectAndClose(lab->Registry(), L"\\\\node-b"), 0u);
  std::uint32_t state = 0;
  EXPECT_EQ(InterrogateOn(lab->Services(), L"node-b", L"Dhcp", &state), 5u);
}

TEST(LabFaults, RemoteCallsAreCountedAndLocalOnesAreNot) {
  TempLab temp;
  auto lab = LoadTwoServers(temp);
  ASSERT_NE(lab, nullptr);
  LabRegistry& registry = lab->Registry();
  {
    RegKey key(registry);
    ASSERT_EQ(registry.OpenKey(registry.LocalMachine(), kProductKey, key.Receive()), 0u);
    std::uint32_t size = 0;
    EXPECT_EQ(registry.QueryValue(key.get(), L"HighAvailMode", nullptr, &size), 0u);
  }
  EXPECT_EQ(lab->RemoteCallCount(), 0u) << "HKEY_LOCAL_MACHINE of this computer is no remote call";
  {
    RegKey root(registry);
    ASSERT_EQ(registry.ConnectRegistry(L"\\\\node-a", root.Receive()), 0u) << "by name it is";
    RegKey key(registry);
    ASSERT_EQ(registry.OpenKey(root.get(), kProductKey, key.Receive()), 0u);
    std::uint8_t mode[4];
    std::uint32_t size = sizeof mode;
    EXPECT_EQ(registry.QueryValue(key.get(), L"HighAvailMode", mode, &size), 0u);
    std::wstring name;
    EXPECT_EQ(registry.EnumKey(key.get(), 0, 256, &name), 259u);
    EXPECT_EQ(lab->OpenHandleCount(), 2u);
  }
  EXPECT_EQ(registry.RemoteCallCount(), 6u) << "connect, open, query, enumerate and two closes";
  EXPECT_EQ(ConnectAndClose(registry, L"\\\\node-c"), 53u);
  EXPECT_EQ(registry.RemoteCallCount(), 7u) << "a failed connect went over the network too";

  std::uint32_t state = 0;
  EXPECT_EQ(InterrogateOn(lab->Services(), L"node-a", L"Dhcp", &state), 0u);
  EXPECT_EQ(lab->Services().RemoteCallCount(), 5u) << "open manager, open service, interrogate, two closes";
  EXPECT_EQ(lab->RemoteCallCount(), 12u);
  EXPECT_EQ(lab->OpenHandleCount(), 0u);
}

TEST(LabFaults, LatencyIsAddedToEveryRemoteCall) {
  TempLab temp;
  auto lab = LoadTwoServers(temp, "latency-ms = 2.5\n");
  ASSERT_NE(lab, nullptr);
  const auto start = std::chrono::steady_clock::now();
  std::uint32_t state = 0;
  EXPECT_EQ(InterrogateOn(lab->Services(), L"node-b", L"Dhcp", &state), 0u);
  EXPECT_EQ(ConnectAndClose(lab->Registry(), L"\\\\node-b"), 0u);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(lab->RemoteCallCount(), 7u);
  EXPECT_GE(elapsed, std::chrono::microseconds(7 * 2500));
}

TEST(Lab, ReportsMalformedServerFilesWithTheirFileAndLine) {
  struct Case {
    const char* file;
    const char* text;
    const char* where;
  };
  const Case cases[] = {
      {"services.txt", "SERVICE_NAME: Dhcp\r\nSTATE : 4 RUNNING\r\n\r\nSERVICE_NAME: dhcp\r\n", "services.txt:4: "},
      {"faults.conf", "# slow\nlatency-ms = fast\n", "faults.conf:2: "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    TempLab temp;
    temp.WriteServerFile(L"node-b", c.file, c.text);
    std::string error;
    EXPECT_EQ(temp.Load(&error), nullptr);
    EXPECT_NE(error.find(c.where), std::string::npos) << error;
  }
}
