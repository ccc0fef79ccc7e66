#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/text_encoding.h"
#include "platform/lab/lab_text.h"
#include "platform/lab/reg_file.h"

namespace {
std::string Version5(const std::wstring& body) {
  std::wstring text = L"Windows Registry Editor Version 5.00\r\n\r\n" + body;
  const auto bytes = Utf16LeBytesFromWide(text);
  return "\xFF\xFE" + std::string(bytes.begin(), bytes.end());
}

std::vector<std::uint8_t> Utf16z(const std::wstring& text) {
  auto bytes = Utf16LeBytesFromWide(text);
  bytes.push_back(0);
  bytes.push_back(0);
  return bytes;
}

const RegistryValue& ValueAt(RegistryKeyNode& root, const std::wstring& key, const std::wstring& name) {
  RegistryKeyNode* node = root.FindPath(key);
  EXPECT_NE(node, nullptr) << "key missing";
  static const RegistryValue missing{};
  if (node == nullptr) return missing;
  const RegistryValue* value = node->FindValue(name);
  EXPECT_NE(value, nullptr) << "value missing";
  return value != nullptr ? *value : missing;
}
}  // namespace

TEST(ReadRegFile, ReadsEveryValueFormOfAVersion5Export) {
  RegistryKeyNode root(L"HKEY_LOCAL_MACHINE");
  RegFileError error;
  const std::wstring body =
      L"; captured with reg export\r\n"
      L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zandor\\Vestamail\\ConfigWizard]\r\n"
      L"\"Switch IP Address\"=\"10.9.8.7\"\r\n"
      L"\"Path\"=\"C:\\\\Program Files\\\\\\\"quoted\\\"\"\r\n"
      L"\"HighAvailMode\"=dword:00000001\r\n"
      L"@=\"default\"\r\n"
      L"\"Blob\"=hex:01,02,ff\r\n"
      L"\"Empty\"=hex:\r\n"
      L"\"Big\"=hex(b):01,00,00,00,00,00,00,00\r\n"
      L"\r\n"
      L"[HKEY_LOCAL_MACHINE\\SYSTEM\\Tcpip\\{GUID-1}]\r\n"
      L"\"IPAddress\"=hex(7):31,00,30,00,2e,00,31,00,00,00,32,00,00,00,\\\r\n"
      L"  00,00\r\n"
      L"\"Expand\"=hex(2):25,00,00,00\r\n";
  ASSERT_TRUE(ReadRegFile(Version5(body), root, &error)) << error.line << ": " << error.reason;

  const std::wstring product = L"Software\\zandor\\VESTAMAIL\\ConfigWizard";
  EXPECT_EQ(ValueAt(root, product, L"Switch IP Address").data, Utf16z(L"10.9.8.7"));
  EXPECT_EQ(ValueAt(root, product, L"switch ip address").type, 1u) << "value names ignore case";
  EXPECT_EQ(ValueAt(root, product, L"Path").data, Utf16z(L"C:\\Program Files\\\"quoted\""));
  EXPECT_EQ(ValueAt(root, product, L"HighAvailMode").data, (std::vector<std::uint8_t>{1, 0, 0, 0}));
  EXPECT_EQ(ValueAt(root, product, L"").data, Utf16z(L"default"));
  EXPECT_EQ(ValueAt(root, product, L"Blob").data, (std::vector<std::uint8_t>{1, 2, 0xFF}));
  EXPECT_TRUE(ValueAt(root, product, L"Empty").data.empty());
  EXPECT_EQ(ValueAt(root, product, L"Big").type, 11u);
  const RegistryValue& multi = ValueAt(root, L"SYSTEM\\Tcpip\\{GUID-1}", L"IPAddress");
  EXPECT_EQ(multi.type, 7u);
  EXPECT_EQ(multi.data.size(), 16u) << "the continuation line is joined";
  EXPECT_EQ(ValueAt(root, L"SYSTEM\\Tcpip\\{GUID-1}", L"Expand").type, 2u);
}

TEST(ReadRegFile, Regedit4TextIsWidenedAsTheRegistryStoresIt) {
  RegistryKeyNode root(L"HKEY_LOCAL_MACHINE");
  RegFileError error;
  const std::string file =
      "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Test]\r\n\"Name\"=\"CLAN\"\r\n"
      "\"Multi\"=hex(7):61,00,62,00,00\r\n";
  ASSERT_TRUE(ReadRegFile(file, root, &error)) << error.reason;
  EXPECT_EQ(ValueAt(root, L"SOFTWARE\\Test", L"Name").data, Utf16z(L"CLAN"));
  EXPECT_EQ(ValueAt(root, L"SOFTWARE\\Test", L"Multi").data, Utf16LeBytesFromWide(std::wstring(L"a\0b\0\0", 5)));
}

TEST(ReadRegFile, LaterExportsReplaceAndDelete) {
  RegistryKeyNode root(L"HKEY_LOCAL_MACHINE");
  RegFileError error;
  ASSERT_TRUE(ReadRegFile(Version5(L"[HKEY_LOCAL_MACHINE\\A\\B]\r\n\"V\"=\"1\"\r\n\"W\"=\"2\"\r\n"
                                   L"[HKEY_LOCAL_MACHINE\\A\\C]\r\n"),
                          root, &error));
  ASSERT_TRUE(
      ReadRegFile(Version5(L"[HKEY_LOCAL_MACHINE\\A\\B]\r\n\"v\"=\"3\"\r\n\"W\"=-\r\n[-HKEY_LOCAL_MACHINE\\A\\C]\r\n"),
                  root, &error));
  EXPECT_EQ(ValueAt(root, L"A\\B", L"V").data, Utf16z(L"3"));
  EXPECT_EQ(root.FindPath(L"A\\B")->FindValue(L"W"), nullptr);
  EXPECT_EQ(root.FindPath(L"A\\C"), nullptr);
  EXPECT_EQ(root.FindPath(L"A")->Subkeys().size(), 1u);
}

TEST(ReadRegFile, MalformedLinesAreReportedWithTheirLineNotGuessed) {
  struct Case {
    const char* what;
    std::string file;
    int line;
  };
  const Case cases[] = {
      {"no header", "[HKEY_LOCAL_MACHINE\\A]\r\n", 1},
      {"other hive", "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n", 3},
      {"unclosed key", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A\r\n", 2},
      {"value before key", "REGEDIT4\r\n\"V\"=\"x\"\r\n", 2},
      {"bad dword", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"V\"=dword:12345678a\r\n", 3},
      {"bad hex", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"V\"=hex:01,zz\r\n", 3},
      {"unknown escape", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"V\"=\"a\\nb\"\r\n", 3},
      {"unclosed string", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"V\"=\"abc\r\n", 3},
      {"stray text", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\r\nV=1\r\n", 4},
      {"unknown data", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"V\"=word:1\r\n", 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    RegistryKeyNode root(L"HKEY_LOCAL_MACHINE");
    RegFileError error;
    EXPECT_FALSE(ReadRegFile(c.file, root, &error));
    EXPECT_EQ(error.line, c.line);
    EXPECT_FALSE(error.reason.empty());
  }
}

TEST(ReadRegFile, ReadsTheRarerFormsOfARealExport) {
  RegistryKeyNode root(L"HKEY_LOCAL_MACHINE");
  RegFileError error;
  const std::wstring body =
      L"[HKEY_LOCAL_MACHINE\\A]\r\n"
      L"@=\"first\"\r\n"
      L"@=-\r\n"
      L"\"None\"=hex(0):\r\n"
      L"\"Link\"=hex(6):5c,00\r\n"
      L"\"A very long value name that leaves no room for data on its own line at all\"=hex:\\\r\n"
      L"  01,02,\\\r\n"
      L"  03\r\n"
      L"@=hex(2):25,00,\\\r\n"
      L"  00,00\r\n"
      L"\"Trailing\\\\\"=\"C:\\\\\"\r\n"
      L"\"Looks=hex\"=\"ends in a backslash\\\\\"\r\n"
      L"\"Next\"=dword:0000000A\r\n"
      L"\"Spaced\" = hex:04,\\\r\n"
      L"  05\r\n";
  ASSERT_TRUE(ReadRegFile(Version5(body), root, &error)) << error.line << ": " << error.reason;
  EXPECT_EQ(ValueAt(root, L"A", L"None").type, 0u);
  EXPECT_TRUE(ValueAt(root, L"A", L"None").data.empty());
  EXPECT_EQ(ValueAt(root, L"A", L"Link").type, 6u);
  EXPECT_EQ(ValueAt(root, L"A", L"A very long value name that leaves no room for data on its own line at all").data,
            (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(ValueAt(root, L"A", L"").type, 2u) << "the default value deleted, then set again";
  EXPECT_EQ(ValueAt(root, L"A", L"Trailing\\").data, Utf16z(L"C:\\"));
  EXPECT_EQ(ValueAt(root, L"A", L"Looks=hex").data, Utf16z(L"ends in a backslash\\"));
  EXPECT_EQ(ValueAt(root, L"A", L"Next").data, (std::vector<std::uint8_t>{10, 0, 0, 0}));
  EXPECT_EQ(ValueAt(root, L"A", L"Spaced").data, (std::vector<std::uint8_t>{4, 5})) << "blanks around '=' allowed";
}

namespace {
std::wstring KeyPath(std::size_t levels, std::size_t nameChars = 1) {
  std::wstring path = L"HKEY_LOCAL_MACHINE";
  path.reserve(path.size() + levels * (nameChars + 1));
  for (std::size_t i = 0; i < levels; ++i) path += L"\\" + std::wstring(nameChars, L'k');
  return path;
}
}  // namespace

TEST(ReadRegFile, RefusesWhatWindowsRefusesAtItsLine) {
  struct Case {
    const char* what;
    std::wstring body;  // after the header and a blank line: the body's first line is line 3
    int line;           // 0: read
    const char* reason;
  };
  const char* const tooLong = "a key name is longer than 255 characters";
  const char* const tooDeep = "a key is more than 512 levels deep";
  const char* const lowerCase = "a type is written in lower case: dword:, hex: or hex(n):";
  const char* const noComma = "a line that continues must end with \",\\\" (a comma before the backslash)";
  const Case cases[] = {
      {"a key name of 255 characters", L"[" + KeyPath(2, 255) + L"]\r\n", 0, ""},
      {"a key name of 256 characters", L"[" + KeyPath(2) + L"\\" + std::wstring(256, L'n') + L"]\r\n", 3, tooLong},
      {"512 levels", L"[" + KeyPath(512) + L"]\r\n", 0, ""},
      {"513 levels", L"[" + KeyPath(513) + L"]\r\n", 3, tooDeep},
      {"400,000 levels", L"; deep\r\n[" + KeyPath(400000) + L"]\r\n", 4, tooDeep},
      {"deleting a key deeper than any", L"[-" + KeyPath(513) + L"]\r\n", 3, tooDeep},
      {"DWORD:", L"[HKEY_LOCAL_MACHINE\\A]\r\n\"V\"=DWORD:00000001\r\n", 4, lowerCase},
      {"HEX:", L"[HKEY_LOCAL_MACHINE\\A]\r\n\"V\"=HEX:01\r\n", 4, lowerCase},
      {"Hex(7):", L"[HKEY_LOCAL_MACHINE\\A]\r\n\"V\"=Hex(7):61,00,00,00\r\n", 4, lowerCase},
      {"continued after a whole byte", L"[HKEY_LOCAL_MACHINE\\A]\r\n\"V\"=hex:01,02\\\r\n  03\r\n", 4, noComma},
      {"continued inside a byte", L"[HKEY_LOCAL_MACHINE\\A]\r\n\"V\"=hex:01,0\\\r\n  2,03\r\n", 4, noComma},
      {"the second continuation", L"[HKEY_LOCAL_MACHINE\\A]\r\n@=hex:01,\\\r\n  02\\\r\n  03\r\n", 5, noComma},
      {"continued right after hex:, and after a comma and blanks",
       L"[HKEY_LOCAL_MACHINE\\A]\r\n\"V\"=hex(7):\\\r\n  61,00, \\\r\n  00,00\r\n", 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RegistryKeyNode root(L"HKEY_LOCAL_MACHINE");
    RegFileError error;
    EXPECT_EQ(ReadRegFile(Version5(c.body), root, &error), c.line == 0);
    EXPECT_EQ(error.line, c.line);
    EXPECT_EQ(error.reason, c.reason);
  }
}

TEST(ReadRegFile, Regedit4IsReadAsWindows1252AndItsStringsGetTheirTerminator) {
  struct Case {
    const char* what;
    std::string valueLine;  // REGEDIT4, under [HKEY_LOCAL_MACHINE\A]
    std::uint32_t type;
    std::vector<std::uint8_t> data;
  };
  const Case cases[] = {
      {"a text with the euro, a dash and a quote", "\"V\"=\"\x80 \x96 \x92\"", 1, Utf16z(L"\u20AC \u2013 \u2019")},
      {"an expandable string without its NUL", "\"V\"=hex(2):25,54,4d,50,25", 2, Utf16z(L"%TMP%")},
      {"an expandable string with its NUL", "\"V\"=hex(2):25,54,4d,50,25,00", 2, Utf16z(L"%TMP%")},
      {"an expandable string in Windows-1252", "\"V\"=hex(2):80,92", 2, Utf16z(L"\u20AC\u2019")},
      {"a multi-string without its NUL", "\"V\"=hex(7):61,00,62", 7, Utf16LeBytesFromWide(std::wstring(L"a\0b\0", 4))},
      {"a multi-string with both NULs", "\"V\"=hex(7):61,00,62,00,00", 7,
       Utf16LeBytesFromWide(std::wstring(L"a\0b\0\0", 5))},
      {"binary data stays as written", "\"V\"=hex:80,92", 3, {0x80, 0x92}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RegistryKeyNode root(L"HKEY_LOCAL_MACHINE");
    RegFileError error;
    ASSERT_TRUE(ReadRegFile("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\A]\r\n" + c.valueLine + "\r\n", root, &error))
        << error.line << ": " << error.reason;
    EXPECT_EQ(ValueAt(root, L"A", L"V").type, c.type);
    EXPECT_EQ(ValueAt(root, L"A", L"V").data, c.data);
  }
  RegistryKeyNode root(L"HKEY_LOCAL_MACHINE");
  RegFileError error;
  ASSERT_TRUE(
      ReadRegFile("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\O\x92"
                  "Brien]\r\n",
                  root, &error));
  EXPECT_NE(root.FindPath(L"SOFTWARE\\O\u2019Brien"), nullptr) << "key names too";
  EXPECT_EQ(WideFromWindows1252("\x81\x8d\x8f\x90\x9d\x9f\xa0\xff"),
            L"\x0081\x008D\x008F\x0090\x009D\x0178\x00A0\x00FF")
      << "unassigned bytes keep their value; the rest of the page is Latin-1";
}

TEST(RegistryKeyNode, SubkeysEnumerateInTheRegistrysOrder) {
  struct Case {
    const char* what;
    std::vector<std::wstring> created;
    std::vector<std::wstring> removed;
    std::vector<std::wstring> order;
  };
  const Case cases[] = {
      {"created out of order", {L"{0003}", L"{0001}", L"{0002}"}, {}, {L"{0001}", L"{0002}", L"{0003}"}},
      {"letter case ignored, names kept", {L"mirror", L"CLAN", L"Elan"}, {}, {L"CLAN", L"Elan", L"mirror"}},
      // In upper case '_' comes after the letters; in lower case it would come before them.
      {"compared in upper case", {L"_team", L"b", L"A"}, {}, {L"A", L"b", L"_team"}},
      {"the same name in another case is the same key", {L"Tcpip", L"TCPIP", L"Dhcp"}, {}, {L"Dhcp", L"Tcpip"}},
      {"one removed", {L"B", L"A", L"C"}, {L"b"}, {L"A", L"C"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RegistryKeyNode root(L"HKEY_LOCAL_MACHINE");
    for (const auto& name : c.created) root.FindOrCreateSubkey(name);
    ASSERT_EQ(root.Subkeys().size(), c.order.size() + c.removed.size());
    for (const auto& name : c.removed) EXPECT_TRUE(root.RemovePath(name));
    std::vector<std::wstring> order;
    for (const RegistryKeyNode* key : root.Subkeys()) order.push_back(key->Name());
    EXPECT_EQ(order, c.order);
  }
}

TEST(RegistryKeyNode, ATreeOfAnyDepthGoesWithoutRecursion) {
  constexpr int kLevels = 400000;
  auto chain = [](RegistryKeyNode* key) {
    for (int level = 0; level < kLevels; ++level) key = key->FindOrCreateSubkey(L"k");
    return key;
  };
  auto root = std::make_unique<RegistryKeyNode>(L"HKEY_LOCAL_MACHINE");
  EXPECT_EQ(chain(root.get())->Name(), L"k");
  EXPECT_TRUE(root->RemovePath(L"k\\k")) << "a deep subtree removed";
  EXPECT_TRUE(root->FindSubkey(L"k")->Subkeys().empty());
  chain(root.get());
  root.reset();
}

// The value index holds through growth, replacement and removal: every value left is found by
// its name in any case, with its own data, and no removed one is.
TEST(RegistryKeyNode, ValuesAreFoundIgnoringCaseThroughAnyRemoval) {
  constexpr int kValues = 1000;
  RegistryKeyNode key(L"Settings");
  auto name = [](int i) { return L"Value " + std::to_wstring(i); };
  for (int i = 0; i < kValues; ++i) key.SetValue({name(i), regtype::Dword, {static_cast<std::uint8_t>(i), 0, 0, 0}});
  for (int i = 0; i < kValues; i += 3) key.RemoveValue(L"VALUE " + std::to_wstring(i));
  for (int i = 1; i < kValues; i += 3) key.SetValue({L"value " + std::to_wstring(i), regtype::String, {7}});
  key.RemoveValue(L"absent");
  for (int i = 0; i < kValues; ++i) {
    SCOPED_TRACE(i);
    const RegistryValue* value = key.FindValue(L"vAlUe " + std::to_wstring(i));
    if (i % 3 == 0) {
      EXPECT_EQ(value, nullptr);
      continue;
    }
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->name, name(i)) << "the name as first written";
    const std::vector<std::uint8_t> expected =
        i % 3 == 1 ? std::vector<std::uint8_t>{7} : std::vector<std::uint8_t>{static_cast<std::uint8_t>(i), 0, 0, 0};
    EXPECT_EQ(value->data, expected);
  }
}
