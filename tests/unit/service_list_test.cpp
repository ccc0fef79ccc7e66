#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/text_encoding.h"
#include "platform/lab/service_list.h"

namespace {
// Two blocks as `sc queryex state= all` prints them, a field of a later Windows included.
constexpr char kScOutput[] =
    "\n"
    "SERVICE_NAME: Dhcp\n"
    "DISPLAY_NAME: DHCP Client: the one that leases addresses\n"
    "        TYPE               : 20  WIN32_SHARE_PROCESS\n"
    "        STATE              : 4  RUNNING\n"
    "                                (STOPPABLE, NOT_PAUSABLE, ACCEPTS_SHUTDOWN)\n"
    "        WIN32_EXIT_CODE    : 0  (0x0)\n"
    "        SERVICE_EXIT_CODE  : 0  (0x0)\n"
    "        CHECKPOINT         : 0x0\n"
    "        WAIT_HINT          : 0x0\n"
    "        PID                : 1020\n"
    "        FLAGS              :\n"
    "\n"
    "SERVICE_NAME: EMC AutoStart Mirror Service\n"
    "DISPLAY_NAME: EMC AutoStart Mirror Service\n"
    "        TYPE               : 10  WIN32_OWN_PROCESS\n"
    "        STATE              : 1  STOPPED\n"
    "        WIN32_EXIT_CODE    : 1077  (0x435)\n"
    "        SERVICE_EXIT_CODE  : 0  (0x0)\n"
    "        CHECKPOINT         : 0x0\n"
    "        WAIT_HINT          : 0x0\n"
    "        PID                : 0\n"
    "        FLAGS              :\n"
    "        SERVICE_SID_TYPE   : 1  UNRESTRICTED\n"
    "\n";

std::string WithCrLf(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

std::string Utf16LeWithBom(const std::string& text) {
  const auto bytes = Utf16LeBytesFromWide(WideFromUtf8(text));
  return "\xFF\xFE" + std::string(bytes.begin(), bytes.end());
}
}  // namespace

TEST(ReadServiceList, ReadsScOutputAsCmdAndPowerShellWriteIt) {
  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case cases[] = {
      {"cmd: single-byte, CR LF", WithCrLf(kScOutput)},
      {"PowerShell: UTF-16LE with byte-order mark, CR LF", Utf16LeWithBom(WithCrLf(kScOutput))},
      {"an editor's UTF-8 with byte-order mark, LF", "\xEF\xBB\xBF" + std::string(kScOutput)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<LabService> services;
    ServiceListError error;
    ASSERT_TRUE(ReadServiceList(c.bytes, &services, &error)) << error.line << ": " << error.reason;
    ASSERT_EQ(services.size(), 2u);
    EXPECT_EQ(services[0].name, L"Dhcp");
    EXPECT_EQ(services[0].state, 4u);
    EXPECT_EQ(services[1].name, L"EMC AutoStart Mirror Service");
    EXPECT_EQ(services[1].state, 1u);
  }
}

TEST(ReadServiceList, ReadsTheMinimalHandWrittenForm) {
  std::vector<LabService> services;
  ServiceListError error;
  ASSERT_TRUE(
      ReadServiceList("# node-b, written by hand\n"
                      "SERVICE_NAME: Dhcp\n"
                      "STATE : 4 RUNNING\n"
                      "SERVICE_NAME: Odd\n"
                      "  STATE : 9\n",
                      &services, &error))
      << error.line << ": " << error.reason;
  ASSERT_EQ(services.size(), 2u);
  EXPECT_EQ(services[1].name, L"Odd");
  EXPECT_EQ(services[1].state, 9u) << "a state Windows does not define is kept, not corrected";
}

TEST(ReadServiceList, MalformedListsStopAtTheirLine) {
  struct Case {
    const char* what;
    std::string text;
    int line;
  };
  const Case cases[] = {
      {"text before the first block", "\n[SC] OpenSCManager FAILED 5:\nSERVICE_NAME: a\nSTATE : 4 RUNNING\n", 2},
      {"field before any block", "  STATE : 4 RUNNING\n", 1},
      {"field after the blank line that ends a block", "SERVICE_NAME: a\nSTATE : 4\n\n  PID : 7\n", 4},
      {"no STATE: the block's own line", "SERVICE_NAME: a\nTYPE : 10\n\nSERVICE_NAME: b\nSTATE : 4\n", 1},
      {"no STATE in the last block", "SERVICE_NAME: a\nSTATE : 4\n\nSERVICE_NAME: b\n", 4},
      {"STATE without a number", "SERVICE_NAME: a\nSTATE : RUNNING\n", 2},
      {"STATE with a sign", "SERVICE_NAME: a\nSTATE : -1 STOPPED\n", 2},
      {"STATE number run into its word", "SERVICE_NAME: a\nSTATE : 4RUNNING\n", 2},
      {"STATE beyond 32 bits", "SERVICE_NAME: a\nSTATE : 4294967296 RUNNING\n", 2},
      {"two STATE lines", "SERVICE_NAME: a\nSTATE : 4\nSTATE : 1\n", 3},
      {"flags not under STATE", "SERVICE_NAME: a\nTYPE : 10\n  (STOPPABLE)\nSTATE : 4\n", 3},
      {"name missing", "SERVICE_NAME:\nSTATE : 4\n", 1},
      {"same name in another case", "SERVICE_NAME: Dhcp\nSTATE : 4\n\nSERVICE_NAME: DHCP\nSTATE : 4\n", 4},
      {"not a field line", "SERVICE_NAME: a\nSTATE : 4\nrunning fine\n", 3},
      {"UTF-16 text reports its own lines", Utf16LeWithBom("SERVICE_NAME: a\r\n\r\nSTATE : 4\r\n"), 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<LabService> services{{L"untouched", 4}};
    ServiceListError error;
    EXPECT_FALSE(ReadServiceList(c.text, &services, &error));
    EXPECT_EQ(error.line, c.line) << error.reason;
    EXPECT_FALSE(error.reason.empty());
    EXPECT_EQ(services.size(), 1u) << "the caller's list is left as it was";
  }
}
