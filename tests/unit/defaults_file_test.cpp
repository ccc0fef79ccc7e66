#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/wizard_on_lab.h"

namespace {
constexpr wchar_t kDefaults[] = L"D:\\Zandor\\HA\\ToolkitInstaller2.0\\HADefaults.dat";

struct Loaded {
  Status status;
  std::vector<std::wstring> fields;  // stage, then the ten entries in file order
};

Loaded LoadFrom(const std::string* bytes) {
  TempLab temp;
  if (bytes != nullptr) temp.WriteDriveFile(kDefaults, *bytes);
  WizardOnLab wizard(temp);
  WizardDialog& d = wizard.dialog;
  d.WizardStage = 7;
  d.ManagedHostName = d.ManagedClanIp = d.ManagedElanIp = d.Node1HostName = d.Node2HostName = L"before";
  d.UserName = d.WorkgroupDomainName = d.BoardCount = d.AutoStartDomain = d.ClanTestIp = L"before";
  const Status status = d.LoadDefaults();
  EXPECT_TRUE(wizard.log.lines.empty()) << "loading never logs";
  EXPECT_TRUE(wizard.view.boxes.empty()) << "loading never shows a box";
  return {status,
          {std::to_wstring(d.WizardStage), d.ManagedHostName, d.ManagedClanIp, d.ManagedElanIp, d.Node1HostName,
           d.Node2HostName, d.UserName, d.WorkgroupDomainName, d.BoardCount, d.AutoStartDomain, d.ClanTestIp}};
}
}  // namespace

TEST(LoadDefaults, ReadsOneValuePerLine) {
  struct Case {
    const char* what;
    std::string file;
    std::vector<std::wstring> fields;
  };
  const std::wstring b = L"before";
  const Case cases[] = {
      {"the file Step 2 writes",
       "1\r\nha-managed\r\n10.1.1.5\r\n10.2.2.5\r\nnode-a\r\nnode-b\r\nadmin\r\nworkgroup\r\n3\r\nha1\r\n127.0.0.1\r\n",
       {L"1", L"ha-managed", L"10.1.1.5", L"10.2.2.5", L"node-a", L"node-b", L"admin", L"workgroup", L"3", L"ha1",
        L"127.0.0.1"}},
      {"LF line ends and no final line end",
       "1\nh\nc\ne\nn1\nn2\nu\nw\n1\nd\nt",
       {L"1", L"h", L"c", L"e", L"n1", L"n2", L"u", L"w", L"1", L"d", L"t"}},
      {"a value with blanks stays one value",
       "1\r\nh\r\nc\r\ne\r\nn1\r\nn2\r\njohn smith\r\nwork group\r\n3\r\nha1\r\n127.0.0.1\r\n",
       {L"1", L"h", L"c", L"e", L"n1", L"n2", L"john smith", L"work group", L"3", L"ha1", L"127.0.0.1"}},
      {"an empty value is an empty field, not a skipped line",
       "1\r\nh\r\n\r\ne\r\nn1\r\nn2\r\n\r\nw\r\n3\r\nha1\r\n127.0.0.1\r\n",
       {L"1", L"h", L"", L"e", L"n1", L"n2", L"", L"w", L"3", L"ha1", L"127.0.0.1"}},
      {"blanks and tabs that end a line are dropped",
       "1 \r\nha1 \t\r\nc\t\r\n \r\nn1\r\nn2\r\nj smith \r\nw\r\n3\r\n ha1  \r\nt\r\n",
       {L"1", L"ha1", L"c", L"", L"n1", L"n2", L"j smith", L"w", L"3", L" ha1", L"t"}},
      {"a file cut short leaves the rest as it was", "0\r\nh\r\nc\r\n", {L"0", L"h", L"c", b, b, b, b, b, b, b, b}},
      {"a stage that is not a number keeps the stage", "x\r\nh\r\n", {L"7", L"h", b, b, b, b, b, b, b, b, b}},
      {"a stage of 5 is kept as it is", " 5\r\n", {L"5", b, b, b, b, b, b, b, b, b, b}},
      {"an empty file changes nothing", "", {L"7", b, b, b, b, b, b, b, b, b, b}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Loaded loaded = LoadFrom(&c.file);
    EXPECT_EQ(loaded.status, 0u);
    EXPECT_EQ(loaded.fields, c.fields);
  }
}

TEST(LoadDefaults, KeepsAVeryLongValueWhole) {
  const std::string longValue(10000, 'h');
  const std::string file = "1\r\n" + longValue + "\r\nc\r\n";
  const Loaded loaded = LoadFrom(&file);
  EXPECT_EQ(loaded.fields[1], std::wstring(10000, L'h'));
  EXPECT_EQ(loaded.fields[2], L"c") << "the line after it is still its own field";
}

TEST(LoadDefaults, MissingFileIsStatus2AndChangesNothing) {
  const Loaded loaded = LoadFrom(nullptr);
  EXPECT_EQ(loaded.status, 2u);
  EXPECT_EQ(loaded.fields[0], L"7");
  EXPECT_EQ(loaded.fields[1], L"before");
}
