// Turning a service's answer to the interrogation into its state text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/text_encoding.h"
#include "support/node_on_lab.h"

namespace {
std::string ServiceBlock(const std::string& name, int state) {
  return "SERVICE_NAME: " + name + "\r\n        STATE              : " + std::to_string(state) + "  X\r\n\r\n";
}
}  // namespace

TEST(GetServiceStatus, MissingStoppedHungAndBusyServicesAreStatesNotFailures) {
  TempLab temp;
  temp.WriteServerFile(L"node-b", "services.txt",
                       ServiceBlock("Running", 4) + ServiceBlock("Stopped", 1) + ServiceBlock("Starting", 2) +
                           ServiceBlock("Pausing", 6) + ServiceBlock("Paused", 7) + ServiceBlock("Odd", 9) +
                           ServiceBlock("Hung", 4) + ServiceBlock("Busy", 3) + ServiceBlock("Denied", 4));
  temp.WriteServerFile(L"node-b", "faults.conf",
                       "service-timeout = Hung\nservice-busy = Busy\ndeny-service = Denied\n");
  NodeOnLab on(temp);
  ScopedScHandle manager(on.lab->Services());
  ASSERT_EQ(on.lab->Services().OpenServiceManager(L"node-b", manager.Receive()), 0u);
  struct Row {
    const wchar_t* service;
    Status rc;
    std::wstring text;
    std::vector<LoggedLine> log;
  };
  const Row rows[] = {
      {L"Running", 0, L"Running", {}},
      {L"Stopped", 0, L"Not started", {}},
      {L"Starting", 0, L"Start pending", {}},
      {L"Pausing", 0, L"Pause pending", {}},
      {L"Paused", 0, L"Paused", {}},
      {L"Odd", 0, L"Unknown", {}},
      {L"Hung", 0, L"Timeout", {}},
      {L"Busy", 0, L"Unknown", {}},
      {L"Absent", 0, L"Not installed", {{L"OpenService(Absent): Service does not exist.", LogClass::LogInfo}}},
      {L"Denied", 5, L"earlier", {{L"OpenService(Denied) failed. rc = 5", LogClass::LogError}}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(Utf8FromWide(row.service));
    on.log.lines.clear();
    std::wstring text = L"earlier";
    EXPECT_EQ(on.node.GetServiceStatus(manager.get(), row.service, text), row.rc);
    EXPECT_EQ(text, row.text);
    EXPECT_EQ(on.log.lines, row.log);
    EXPECT_EQ(on.OpenHandles(), 1u) << "only the caller's manager handle stays open";
  }
}

TEST(GetServiceStatus, NullManagerOrEmptyNameNeverReachesTheServiceManager) {
  TempLab temp;
  temp.SetHighAvailMode(L"node-b", 1);
  NodeOnLab on(temp);
  ScopedScHandle manager(on.lab->Services());
  ASSERT_EQ(on.lab->Services().OpenServiceManager(L"node-b", manager.Receive()), 0u);
  const auto callsBefore = on.lab->RemoteCallCount();
  std::wstring text = L"earlier";
  EXPECT_EQ(on.node.GetServiceStatus(0, L"ha1", text), 6u);
  EXPECT_EQ(on.node.GetServiceStatus(manager.get(), L"", text), 87u);
  EXPECT_EQ(text, L"earlier");
  EXPECT_EQ(on.lab->RemoteCallCount(), callsBefore);
  EXPECT_EQ(on.log.lines, (std::vector<LoggedLine>{
                              {L"GetServiceStatus(ha1) failed. SCM handle is NULL.", LogClass::LogError},
                              {L"GetServiceStatus() failed. ServiceName is invalid.", LogClass::LogError},
                          }));
}
