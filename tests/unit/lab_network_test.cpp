// The lab's wires: which echo is answered, lost or refused, what it waits, and the state of this computer's adapters.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/lab/lab_network.h"
#include "support/cluster_server.h"

namespace {

// NODE-A (this computer) and node-b as AddClusterServer makes them: CLAN 10.1.1.1 and .2 (both also
// 10.1.1.200), ELAN 10.2.2.x, HB1 10.3.3.x, HB2 10.4.4.x, MIRROR 10.5.5.x.
struct Wires {
  explicit Wires(const std::string& confLine, const std::string& hereFaults = "",
                 const std::string& partnerFaults = "") {
    AddClusterServer(temp, L"NODE-A", 1);
    AddClusterServer(temp, L"node-b", 2);
    if (!confLine.empty()) temp.AddLabConfLine(confLine);
    if (!hereFaults.empty()) temp.WriteServerFile(L"NODE-A", "faults.conf", hereFaults + "\n");
    if (!partnerFaults.empty()) temp.WriteServerFile(L"node-b", "faults.conf", partnerFaults + "\n");
    std::string error;
    lab = temp.Load(&error);
    EXPECT_NE(lab, nullptr) << error;
    if (lab != nullptr) lab->Wires().SetWait([this](std::uint32_t milliseconds) { waited.push_back(milliseconds); });
  }
  TempLab temp{L"NODE-A"};
  std::unique_ptr<Lab> lab;
  std::vector<std::uint32_t> waited;
};

// "+25" for an answer in 25 ms, "lost" for an echo that took its whole time-out, else the code.
std::string Outcome(Status rc, std::uint32_t roundTrip) {
  // Appended rather than "+" + ...: GCC 12 warns (-Wrestrict) about that concatenation when it inlines it.
  if (rc == status::Success) return std::string("+").append(std::to_string(roundTrip));
  return rc == status::IpReqTimedOut ? "lost" : std::to_string(rc);
}

}  // namespace

// Three echoes in turn, each with a time-out of 900 ms. What they waited follows from their outcomes:
// a lost echo its whole time-out, an answer its round trip, a refused echo nothing.
TEST(LabNetwork, EchoIsAnsweredOnlyAcrossItsWireByWhatHoldsTheAddress) {
  struct Case {
    const char* what;
    const char* conf;  // a line of lab.conf
    const char* hereFaults;
    const char* partnerFaults;
    const char* threeEchoes;
    const wchar_t* to = L"10.3.3.2";    // the partner's HB1
    const wchar_t* from = L"10.3.3.1";  // here's
  };
  const Case cases[] = {
      {"the partner's HB1", "", "", "", "+0 +0 +0"},
      {"a second address of the partner's CLAN", "", "", "", "+0 +0 +0", L"10.1.1.200", L"10.1.1.1"},
      {"an address on another wire", "", "", "", "lost lost lost", L"10.4.4.2"},
      {"a host on the wire", "host = 10.2.2.250 ELAN", "", "", "+0 +0 +0", L"10.2.2.250", L"10.2.2.1"},
      {"a host on another wire", "host = 10.2.2.250 ELAN", "", "", "lost lost lost", L"10.2.2.250", L"10.1.1.1"},
      {"a cable joins HB1 to the partner's HB2", "cable = NODE-A HB1 - node-b HB2", "", "", "+0 +0 +0", L"10.4.4.2"},
      {"and takes HB1 off its wire", "cable = node-a hb1 - node-b HB2", "", "", "lost lost lost"},
      {"a partner that blocks echoes", "", "", "echo-blocked = yes", "lost lost lost"},
      {"the partner's adapter down", "", "", "link-down = HB1", "lost lost lost"},
      {"here's adapter down: nothing is sent", "", "link-down = HB1", "", "11050 11050 11050"},
      {"a source this computer does not hold", "", "", "", "87 87 87", L"10.3.3.1", L"10.3.3.2"},
      {"a destination that is not a dotted quad", "", "", "", "87 87 87", L"10.3.3"},
      {"round trips of both ends add up", "", "echo-delay-ms = HB1 5", "echo-delay-ms = HB1 25", "+30 +30 +30"},
      {"a round trip of the whole time-out answers", "", "", "echo-delay-ms = HB1 900", "+900 +900 +900"},
      {"a round trip beyond it is lost", "", "", "echo-delay-ms = HB1 901", "lost lost lost"},
      {"the first of every three lost", "", "", "echo-loss = HB1 1", "lost +0 +0"},
      {"the larger loss of both ends", "", "echo-loss = hb1 2", "echo-loss = HB1 1", "lost lost +0"},
      {"loss on another link only", "", "", "echo-loss = HB2 3", "+0 +0 +0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Wires wires(c.conf, c.hereFaults, c.partnerFaults);
    ASSERT_NE(wires.lab, nullptr);
    std::string outcomes;
    std::vector<std::uint32_t> waited;
    for (int echo = 0; echo < 3; ++echo) {
      std::uint32_t roundTrip = 0;
      const Status rc = wires.lab->Wires().Echo(c.from, c.to, 900, &roundTrip);
      if (echo > 0) outcomes += ' ';
      outcomes += Outcome(rc, roundTrip);
      if (rc == status::IpReqTimedOut) waited.push_back(900);
      if (rc == status::Success && roundTrip > 0) waited.push_back(roundTrip);
    }
    EXPECT_EQ(outcomes, c.threeEchoes);
    EXPECT_EQ(wires.waited, waited);
  }
}

TEST(LabNetwork, QueryAdapterConnectedKnowsThisComputersAdaptersOnly) {
  struct Case {
    const char* what;
    std::string hereFaults;
    std::wstring guid;
    Status expected;
    bool connected;
  };
  const Case cases[] = {
      {"HB1 of this computer", "", AdapterGuid(12), 0, true},
      {"its GUID in lower case", "", L"{a000000c-1111-2222-3333-444455556666}", 0, true},
      {"unplugged", "link-down = HB1", AdapterGuid(12), 0, false},
      {"another adapter unplugged", "link-down = HB2", AdapterGuid(12), 0, true},
      {"an adapter of the partner", "", AdapterGuid(22), 87, false},
      {"no adapter at all", "", AdapterGuid(99), 87, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Wires wires("", c.hereFaults);
    ASSERT_NE(wires.lab, nullptr);
    bool connected = false;
    EXPECT_EQ(wires.lab->Wires().QueryAdapterConnected(c.guid, &connected), c.expected);
    EXPECT_EQ(connected, c.connected);
  }
}
