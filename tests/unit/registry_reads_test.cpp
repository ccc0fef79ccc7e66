// Reading string values and the feature switch of a server's registry over the node's connection.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/text_encoding.h"
#include "support/cluster_server.h"
#include "support/node_on_lab.h"

namespace {
constexpr wchar_t kProductKeyLine[] = L"[HKEY_LOCAL_MACHINE\\Software\\Zandor\\Vestamail\\ConfigWizard]\n";
constexpr wchar_t kProductKey[] = L"Software\\Zandor\\Vestamail\\ConfigWizard";

std::wstring Chars(std::size_t count) { return std::wstring(count, L'x'); }
}  // namespace

TEST(GetRegKeyStringValue, ReadsTextUpToTheFirstNulWithinA255ByteBuffer) {
  TempLab temp;
  temp.AddRegFile(L"node-b", "product.reg",
                  std::wstring(kProductKeyLine) + L"\"Empty\"=\"\"\n" + L"\"Short\"=\"" + Chars(126) + L"\"\n" +
                      L"\"Long\"=\"" + Chars(127) + L"\"\n" +
                      MultiStringValue(L"Addresses", {L"10.1.1.5", L"10.1.1.6"}) +
                      L"\"Unterminated\"=hex(1):41,00,42,00\n"
                      L"\"OddBytes\"=hex(1):41,00,42\n");
  NodeOnLab on(temp);
  ASSERT_EQ(on.Connect(), 0u);
  struct Row {
    const wchar_t* value;
    Status rc;
    std::wstring result;
  };
  const Row rows[] = {
      {L"Empty", 0, L""},          {L"Short", 0, Chars(126)}, {L"Addresses", 0, L"10.1.1.5"},
      {L"Unterminated", 0, L"AB"}, {L"OddBytes", 0, L"A"},    {L"Long", 234, L""},
      {L"Absent", 2, L""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(Utf8FromWide(row.value));
    on.log.lines.clear();
    std::wstring result = L"earlier";
    EXPECT_EQ(on.node.GetRegKeyStringValue(kProductKey, row.value, result), row.rc);
    EXPECT_EQ(result, row.result);
    if (row.rc == 0) {
      EXPECT_TRUE(on.log.lines.empty());
    } else {
      // The value is named, not the key path.
      EXPECT_EQ(on.log.lines, (std::vector<LoggedLine>{{L"RegQueryValueEx(" + std::wstring(row.value) +
                                                            L") failed. rc = " + std::to_wstring(row.rc),
                                                        LogClass::LogError}}));
    }
    EXPECT_EQ(on.OpenHandles(), 1u) << "only the connection stays open";
  }
  on.node.RemoteRegistry.Close();
  EXPECT_EQ(on.OpenHandles(), 0u);
}

TEST(GetRegKeyStringValue, AValueHoldingAControlCharacterIsCorruptData) {
  TempLab temp;
  temp.AddRegFile(L"node-b", "product.reg",
                  std::wstring(kProductKeyLine) +
                      L"\"LineBreak\"=hex(1):31,00,0d,00,0a,00,32,00,00,00\n"  // "1" CR LF "2"
                      L"\"Tab\"=hex(1):31,00,09,00,32,00,00,00\n"
                      L"\"Delete\"=hex(1):31,00,7f,00,00,00\n" +
                      MultiStringValue(L"SecondString", {L"10.1.1.5", L"10.1.1.6\t"}) +
                      L"\"Latin1\"=hex(1):e9,00,a0,00,00,00\n");
  NodeOnLab on(temp);
  ASSERT_EQ(on.Connect(), 0u);
  for (const wchar_t* value : {L"LineBreak", L"Tab", L"Delete", L"SecondString"}) {
    SCOPED_TRACE(Utf8FromWide(value));
    on.log.lines.clear();
    std::wstring result = L"earlier";
    EXPECT_EQ(on.node.GetRegKeyStringValue(kProductKey, value, result), status::InvalidData);
    EXPECT_EQ(result, L"earlier");
    EXPECT_EQ(on.log.Messages(),
              std::vector<std::wstring>{L"GetRegKeyStringValue(" + std::wstring(kProductKey) + L", " + value +
                                        L") failed. The value holds a control character."});
  }
  std::wstring latin1;
  EXPECT_EQ(on.node.GetRegKeyStringValue(kProductKey, L"Latin1", latin1), 0u) << "U+00A0 is no control";
  EXPECT_EQ(latin1, L"\u00E9\u00A0");
  on.node.RemoteRegistry.Close();
  EXPECT_EQ(on.OpenHandles(), 0u);
}

TEST(GetRegKeyStringValue, KeyThatCannotBeOpenedLeavesTheResultAndNamesThePath) {
  TempLab temp;
  temp.SetHighAvailMode(L"node-b", 1);
  temp.WriteServerFile(L"node-b", "faults.conf", "deny-key = SOFTWARE\\zandor\\Vestamail\\ConfigWizard\n");
  NodeOnLab on(temp);
  ASSERT_EQ(on.Connect(), 0u);
  struct Row {
    const wchar_t* path;
    Status rc;
  };
  for (const Row& row : {Row{L"Software\\Zandor\\Absent", 2}, Row{kProductKey, 5}}) {
    on.log.lines.clear();
    std::wstring result = L"earlier";
    EXPECT_EQ(on.node.GetRegKeyStringValue(row.path, L"Switch IP Address", result), row.rc);
    EXPECT_EQ(result, L"earlier");
    EXPECT_EQ(on.log.Messages(), std::vector<std::wstring>{L"RegOpenKeyEx(" + std::wstring(row.path) +
                                                           L") failed. rc = " + std::to_wstring(row.rc)});
  }
  on.node.RemoteRegistry.Close();
  EXPECT_EQ(on.OpenHandles(), 0u);
}

TEST(GetRegKeyStringValue, WithoutConnectionTouchesNeitherKeyNorResult) {
  TempLab temp;
  NodeOnLab on(temp);
  std::wstring result = L"earlier";
  EXPECT_EQ(on.node.GetRegKeyStringValue(kProductKey, L"Switch IP Address", result), 6u);
  EXPECT_EQ(result, L"earlier");
  EXPECT_EQ(on.log.lines,
            (std::vector<LoggedLine>{{L"GetRegKeyStringValue(Software\\Zandor\\Vestamail\\ConfigWizard, Switch IP "
                                      L"Address) failed. Registry handle is NULL.",
                                      LogClass::LogError}}));
  EXPECT_EQ(on.lab->RemoteCallCount(), 0u);
}

TEST(GetHighAvailabilityStatus, MapsTheSwitchToItsText) {
  struct Row {
    const char* what;
    std::wstring valueLine;
    Status rc;
    std::wstring text;
    std::wstring logLine;
  };
  const Row rows[] = {
      {"enabled", L"\"HighAvailMode\"=dword:00000001\n", 0, L"HA enabled", L"\tHigh Availability Feature = HA enabled"},
      {"not enabled", L"\"HighAvailMode\"=dword:00000000\n", 0, L"HA not enabled",
       L"\tHigh Availability Feature = HA not enabled"},
      {"other number", L"\"HighAvailMode\"=dword:00000002\n", 0, L"Unknown", L"\tHigh Availability Feature = Unknown"},
      {"value absent", L"", 0, L"HA not installed", L"\tHigh Availability Feature = HA not installed"},
      {"two bytes of data", L"\"HighAvailMode\"=hex:01,00\n", 0, L"HA enabled",
       L"\tHigh Availability Feature = HA enabled"},
      {"a string is too long", L"\"HighAvailMode\"=\"yes\"\n", 234, L"earlier",
       L"RegQueryValueEx(HighAvailMode) failed. rc = 234"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    TempLab temp;
    temp.AddRegFile(L"node-b", "product.reg", kProductKeyLine + row.valueLine);
    NodeOnLab on(temp);
    ASSERT_EQ(on.Connect(), 0u);
    on.node.HaFeatureStatus = L"earlier";
    EXPECT_EQ(on.node.GetHighAvailabilityStatus(), row.rc);
    EXPECT_EQ(on.node.HaFeatureStatus, row.text);
    EXPECT_EQ(on.log.lines,
              (std::vector<LoggedLine>{{row.logLine, row.rc == 0 ? LogClass::LogInfo : LogClass::LogError}}));
    on.node.RemoteRegistry.Close();
    EXPECT_EQ(on.OpenHandles(), 0u);
  }
}

TEST(GetHighAvailabilityStatus, MissingProductKeyOrConnectionIsAFailure) {
  TempLab temp;
  temp.AddRegFile(L"node-b", "other.reg", L"[HKEY_LOCAL_MACHINE\\Software\\Other]\n");
  NodeOnLab on(temp);
  on.node.HaFeatureStatus = L"earlier";
  EXPECT_EQ(on.node.GetHighAvailabilityStatus(), 6u);
  ASSERT_EQ(on.Connect(), 0u);
  EXPECT_EQ(on.node.GetHighAvailabilityStatus(), 2u) << "only a missing value means not installed";
  EXPECT_EQ(on.node.HaFeatureStatus, L"earlier");
  EXPECT_EQ(on.log.Messages(),
            (std::vector<std::wstring>{L"GetHighAvailabilityStatus(node-b) failed. Registry handle is NULL.",
                                       L"RegOpenKeyEx(Software\\Zandor\\Vestamail\\ConfigWizard) failed. rc = 2"}));
  on.node.RemoteRegistry.Close();
  EXPECT_EQ(on.OpenHandles(), 0u);
}
