// Captured registry values written as regedit exports: each reads back as exactly the bytes and type it had.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/reg_export.h"
#include "common/text_encoding.h"
#include "platform/lab/reg_file.h"
#include "platform/lab/registry_tree.h"

namespace {
std::vector<std::uint8_t> Utf16(const std::wstring& text) { return Utf16LeBytesFromWide(text); }

std::vector<std::uint8_t> Terminated(const std::wstring& text) { return Utf16(text + L'\0'); }

// The lines of the export after its header and key line, as text.
std::wstring ValueLines(const RegExport& file) {
  const std::wstring& text = file.Text();
  const std::size_t keyEnd = text.find(L"]\r\n");
  return text.substr(keyEnd + 3);
}
}  // namespace

TEST(RegExport, EveryValueReadsBackAsItsBytesAndType) {
  struct Case {
    const char* what;
    std::wstring name;
    std::uint32_t type;
    std::vector<std::uint8_t> data;
    std::wstring line;  // what the export writes (the start of it, for long hex data)
  };
  const Case cases[] = {
      {"text", L"Name", 1, Terminated(L"CLAN"), L"\"Name\"=\"CLAN\"\r\n"},
      {"quotes and backslashes in name and text", L"a\"b\\c", 1, Terminated(L"D:\\x \"y\""),
       L"\"a\\\"b\\\\c\"=\"D:\\\\x \\\"y\\\"\"\r\n"},
      {"default value", L"", 1, Terminated(L"x"), L"@=\"x\"\r\n"},
      {"empty text", L"Domain", 1, Terminated(L""), L"\"Domain\"=\"\"\r\n"},
      {"no data at all", L"Domain", 1, {}, L"\"Domain\"=hex(1):\r\n"},
      {"text without terminator", L"S", 1, Utf16(L"ab"), L"\"S\"=hex(1):61,00,62,00\r\n"},
      {"odd byte count", L"S", 1, {0x61, 0x00, 0x62}, L"\"S\"=hex(1):61,00,62\r\n"},
      {"a line break inside", L"S", 1, Terminated(L"a\nb"), L"\"S\"=hex(1):61,00,0a,00,62,00,00,00\r\n"},
      {"text with a NUL inside", L"S", 1, Terminated(std::wstring(L"a\0b", 3)),
       L"\"S\"=hex(1):61,00,00,00,62,00,00,00\r\n"},
      {"dword", L"HighAvailMode", 4, {0x0a, 0, 0, 0}, L"\"HighAvailMode\"=dword:0000000a\r\n"},
      {"dword with the high bit", L"D", 4, {0x78, 0x56, 0x34, 0xf2}, L"\"D\"=dword:f2345678\r\n"},
      {"dword of three bytes", L"D", 4, {1, 2, 3}, L"\"D\"=hex(4):01,02,03\r\n"},
      {"binary", L"B", 3, {0xde, 0xad}, L"\"B\"=hex:de,ad\r\n"},
      {"empty multi-string", L"DefaultGateway", 7, {0, 0}, L"\"DefaultGateway\"=hex(7):00,00\r\n"},
      {"expandable text", L"E", 2, Terminated(L"%x%"), L"\"E\"=hex(2):25,00,78,00,25,00,00,00\r\n"},
      {"qword", L"Q", 11, {1, 0, 0, 0, 0, 0, 0, 0}, L"\"Q\"=hex(b):01,00,00,00,00,00,00,00\r\n"},
      {"no type", L"N", 0, {}, L"\"N\"=hex(0):\r\n"},
      {"126-character text", L"Long", 1, Terminated(std::wstring(126, L'x')),
       L"\"Long\"=\"" + std::wstring(126, L'x') + L"\"\r\n"},
      {"multi-string over several lines", L"IPAddress", 7,
       Utf16(std::wstring(L"10.1.1.11\0"
                          L"10.1.1.12\0\0",
                          22)),
       L"\"IPAddress\"=hex(7):31,00,30,00,2e,00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RegExport file;
    file.Key(L"SOFTWARE\\Test");
    file.Value(c.name, c.type, c.data);
    EXPECT_EQ(ValueLines(file).substr(0, c.line.size()), c.line);

    RegistryKeyNode root(L"HKEY_LOCAL_MACHINE");
    RegFileError error;
    ASSERT_TRUE(ReadRegFile(file.Bytes(), root, &error)) << error.line << ": " << error.reason;
    const RegistryKeyNode* key = root.FindPath(L"SOFTWARE\\Test");
    ASSERT_NE(key, nullptr);
    ASSERT_EQ(key->Values().size(), 1u);
    EXPECT_EQ(key->Values()[0].name, c.name);
    EXPECT_EQ(key->Values()[0].type, c.type);
    EXPECT_EQ(key->Values()[0].data, c.data);
  }
}

// regedit's own wrapping: a line of bytes breaks once it reaches 77 characters, and goes on after two blanks.
TEST(RegExport, WrapsHexLinesAsRegeditDoes) {
  RegExport file;
  file.Key(L"SOFTWARE\\Test");
  file.Value(L"ProfileImagePath", 2, Terminated(L"%SystemDrive%\\Users\\Default"));
  EXPECT_EQ(ValueLines(file),
            L"\"ProfileImagePath\"=hex(2):25,00,53,00,79,00,73,00,74,00,65,00,6d,00,44,00,72,\\\r\n"
            L"  00,69,00,76,00,65,00,25,00,5c,00,55,00,73,00,65,00,72,00,73,00,5c,00,44,00,\\\r\n"
            L"  65,00,66,00,61,00,75,00,6c,00,74,00,00,00\r\n");
  // Version 5: UTF-16LE after a byte-order mark.
  EXPECT_EQ(file.Bytes().substr(0, 4), std::string("\xFF\xFEW\0", 4));
}
