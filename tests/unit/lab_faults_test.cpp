#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform/lab/lab_faults.h"

TEST(ReadServerFaults, ReadsEveryKey) {
  LabServerFaults faults;
  LabFaultsError error;
  ASSERT_TRUE(
      ReadServerFaults("# node-b misbehaves\r\n"
                       "unreachable = no\r\n"
                       "registry-connect-error = 1722\r\n"
                       "service-manager-error=5\r\n"
                       "\r\n"
                       "deny-key = HKLM\\SOFTWARE\\Zandor\\\r\n"
                       "deny-key = SYSTEM\\\\CurrentControlSet\r\n"
                       "deny-service = Dhcp\r\n"
                       "deny-service = Alerter\r\n"
                       "service-timeout = EMC AutoStart Mirror Service\r\n"
                       "service-busy = Browser\r\n"
                       "  latency-ms = 0.5  \r\n"
                       "link-down = HB2\r\n"
                       "link-down = Local Area Connection 6\r\n"
                       "echo-blocked = yes\r\n"
                       "echo-loss = HB1 1\r\n"
                       "echo-delay-ms = Local Area Connection 6 25\r\n",
                       &faults, &error))
      << error.line << ": " << error.reason;
  EXPECT_FALSE(faults.unreachable);
  EXPECT_EQ(faults.registryConnectError, 1722u);
  EXPECT_EQ(faults.serviceManagerError, 5u);
  for (const wchar_t* key : {L"software\\ZANDOR", L"SYSTEM\\CurrentControlSet"})
    EXPECT_TRUE(faults.DeniesKey(key)) << key;
  EXPECT_FALSE(faults.DeniesKey(L"SOFTWARE")) << "only the key named, not its parent";
  EXPECT_FALSE(faults.DeniesKey(L"SOFTWARE\\Zandor\\Vestamail")) << "nor its subkeys";
  for (const wchar_t* service : {L"dhcp", L"ALERTER"}) EXPECT_TRUE(faults.DeniesService(service)) << service;
  EXPECT_TRUE(faults.TimesOut(L"emc autostart mirror service"));
  EXPECT_TRUE(faults.IsBusy(L"Browser"));
  EXPECT_FALSE(faults.IsBusy(L"Dhcp"));
  EXPECT_EQ(faults.latency, std::chrono::microseconds(500));
  for (const wchar_t* link : {L"hb2", L"Local Area Connection 6"}) EXPECT_TRUE(faults.LinkDown(link)) << link;
  EXPECT_FALSE(faults.LinkDown(L"HB1"));
  EXPECT_TRUE(faults.echoBlocked);
  EXPECT_EQ(faults.EchoLoss(L"hb1"), 1);
  EXPECT_EQ(faults.EchoLoss(L"HB2"), 0);
  EXPECT_EQ(faults.EchoDelayMs(L"local area connection 6"), 25u);
  EXPECT_EQ(faults.EchoDelayMs(L"HB1"), 0u);
}

TEST(ReadServerFaults, UnknownKeysAndBadValuesStopAtTheirLine) {
  struct Case {
    const char* what;
    const char* text;
    int line;
  };
  const Case cases[] = {
      {"unknown key", "# x\nunreachable = yes\nslow = yes\n", 3},
      {"no equals sign", "unreachable\n", 1},
      {"no value", "deny-service =\n", 1},
      {"unreachable neither yes nor no", "unreachable = true\n", 1},
      {"code that is not a number", "registry-connect-error = ERROR_ACCESS_DENIED\n", 1},
      {"code zero is success", "service-manager-error = 0\n", 1},
      {"code beyond 32 bits", "service-manager-error = 4294967296\n", 1},
      {"code given twice", "registry-connect-error = 5\nregistry-connect-error = 53\n", 2},
      {"latency given twice", "latency-ms = 1\nlatency-ms = 2\n", 2},
      {"latency negative", "latency-ms = -1\n", 1},
      {"latency with a comma", "latency-ms = 0,5\n", 1},
      {"latency below a nanosecond", "latency-ms = 0.0000001\n", 1},
      {"latency beyond a minute", "latency-ms = 60001\n", 1},
      {"latency just a point", "latency-ms = .\n", 1},
      {"deny-key of HKLM itself", "deny-key = HKLM\\\n", 1},
      {"echo-blocked neither yes nor no", "echo-blocked = on\n", 1},
      {"echo-blocked given twice", "echo-blocked = yes\necho-blocked = no\n", 2},
      {"echo-loss without a count", "echo-loss = HB1\n", 1},
      {"echo-loss of four of three", "echo-loss = HB1 4\n", 1},
      {"echo-delay-ms beyond a minute", "echo-delay-ms = HB1 60001\n", 1},
      {"echo-delay-ms without a link", "echo-delay-ms = 25\n", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    LabServerFaults faults;
    faults.latency = std::chrono::milliseconds(7);
    LabFaultsError error;
    EXPECT_FALSE(ReadServerFaults(c.text, &faults, &error));
    EXPECT_EQ(error.line, c.line) << error.reason;
    EXPECT_FALSE(error.reason.empty());
    EXPECT_EQ(faults.latency, std::chrono::milliseconds(7)) << "faults untouched";
  }
}
