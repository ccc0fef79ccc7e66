#include <gtest/gtest.h>

#include "nodes/cnic.h"
#include "support/recording_view.h"

namespace {
struct SubnetCase {
  const wchar_t* address;
  const wchar_t* mask;
  Status expected;
  const wchar_t* subnet;   // expected Subnet afterwards (it starts as "old")
  const wchar_t* logLine;  // the one line logged, or null
};
}  // namespace

TEST(CalculateSubnet, MasksEachOctetOrRejectsWithOneLine) {
  const SubnetCase cases[] = {
      {L"192.168.10.77", L"255.255.255.0", 0, L"192.168.10.0", nullptr},
      {L"10.1.2.3", L"255.255.0.0", 0, L"10.1.0.0", nullptr},
      {L"300.1.1.1", L"255.0.0.0", 0, L"44.0.0.0", nullptr},
      {L"10.1.2.3 extra text", L"255.255.255.0", 0, L"10.1.2.0", nullptr},
      {L" 10. 1.2.3", L"255.255.255.255", 0, L"10.1.2.3", nullptr},
      {L"+10.-1.2.3", L"255.255.255.255", 0, L"10.255.2.3", nullptr},
      {L"99999999999999999999.1.1.1", L"255.0.0.0", 0, L"255.0.0.0", nullptr},  // saturates, never overflows
      {L"10.0.0.1", L"", 87, L"old", L"cNIC::CalculateSubnet(): Subnet mask is empty."},
      {L"", L"", 87, L"old", L"cNIC::CalculateSubnet(): IP address is empty."},
      {L"10.0.0", L"255.0.0.0", 87, L"old", L"cNIC::CalculateSubnet(): Invalid IP Address \"10.0.0\""},
      {L"10 .0.0.1", L"255.0.0.0", 87, L"old", L"cNIC::CalculateSubnet(): Invalid IP Address \"10 .0.0.1\""},
      {L"10.0.0.1", L"255.255.x.0", 87, L"old", L"cNIC::CalculateSubnet(): Invalid subnet mask \"255.255.x.0\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "address '" << c.address << "' mask '" << c.mask << "'");
    RecordingLog log;
    cNIC nic;
    nic.IpAddress = c.address;
    nic.SubnetMask = c.mask;
    nic.Subnet = L"old";
    EXPECT_EQ(nic.CalculateSubnet(log), c.expected);
    EXPECT_EQ(nic.Subnet, c.subnet);
    if (c.logLine == nullptr) {
      EXPECT_TRUE(log.lines.empty());
    } else {
      ASSERT_EQ(log.lines.size(), 1u);
      EXPECT_EQ(log.lines[0], (LoggedLine{c.logLine, LogClass::LogError}));
    }
    EXPECT_EQ(nic.IpAddress, c.address) << "inputs are never changed";
  }
}
