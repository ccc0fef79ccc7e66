// Win32Registry against Wine's real registry: connection names, open, enumeration, queries and their codes.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/registry_win32.h"
#include "common/text_case.h"
#include "wine_fixtures.h"

namespace {
constexpr wchar_t kTestKey[] = L"Software\\DuplexSetupTests\\Registry";

class Win32RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    key_.CreateSubKey(L"Alpha");
    key_.CreateSubKey(L"Beta");
    key_.CreateSubKey(L"LongerSubkeyName");
    const std::wstring text = L"hello";
    key_.SetValue(L"", L"Text", REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    key_.SetDword(L"", L"Number", 0x01020304);
    const unsigned char odd[3] = {'a', 0, 'b'};
    key_.SetValue(L"", L"Odd", REG_BINARY, odd, sizeof odd);
  }

  RegKey OpenTestKey() {
    RegKey key(registry_);
    EXPECT_EQ(registry_.OpenKey(registry_.LocalMachine(), kTestKey, key.Receive()), 0u);
    return key;
  }

  ScopedMachineKey key_{kTestKey};
  Win32Registry registry_;
};
}  // namespace

TEST_F(Win32RegistryTest, ConnectRegistry_OpensLocalRegistryOnlyForThisComputer) {
  const std::wstring name = ComputerName();
  ASSERT_FALSE(name.empty());
  struct Case {
    const char* what;
    std::wstring machine;
    Status expected;
  };
  const Case cases[] = {
      {"this computer, as reported", L"\\\\" + name, 0},
      {"this computer, lower case", L"\\\\" + ToLowerAscii(name), 0},
      {"another computer", L"\\\\NO-SUCH-SERVER-42", 53},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.what);
    RegKey remote(registry_);
    *remote.Receive() = 0;
    ASSERT_EQ(registry_.ConnectRegistry(row.machine, remote.Receive()), row.expected);
    if (row.expected != 0) {
      EXPECT_EQ(remote.get(), 0u) << "the handle is left alone on failure";
      continue;
    }
    // The connection reaches this computer's HKLM: the test key is there.
    RegKey opened(registry_);
    EXPECT_EQ(registry_.OpenKey(remote.get(), kTestKey, opened.Receive()), 0u);
  }
}

TEST_F(Win32RegistryTest, OpenKey_AbsentKeyGivesFileNotFoundAndLeavesHandle) {
  RegHandle handle = 0x1234;
  EXPECT_EQ(registry_.OpenKey(registry_.LocalMachine(), L"Software\\DuplexSetupTests\\NoSuchKey", &handle), 2u);
  EXPECT_EQ(handle, 0x1234u);
}

TEST_F(Win32RegistryTest, EnumKey_NamesEachSubkeyThenNoMoreItems) {
  RegKey key = OpenTestKey();
  std::vector<std::wstring> names;
  for (std::uint32_t index = 0;; ++index) {
    std::wstring name;
    const Status rc = registry_.EnumKey(key.get(), index, 256, &name);
    if (rc == 259) break;
    ASSERT_EQ(rc, 0u);
    names.push_back(name);
  }
  EXPECT_EQ(names, (std::vector<std::wstring>{L"Alpha", L"Beta", L"LongerSubkeyName"}));
}

TEST_F(Win32RegistryTest, EnumKey_BufferCountsTheTerminator) {
  RegKey key = OpenTestKey();
  struct Case {
    std::uint32_t bufferChars;
    Status expected;
  };
  // Subkey 0 is "Alpha": five characters need a buffer of six.
  const Case cases[] = {{4, 234}, {5, 234}, {6, 0}, {7, 0}};
  for (const auto& row : cases) {
    SCOPED_TRACE(row.bufferChars);
    std::wstring name = L"untouched";
    EXPECT_EQ(registry_.EnumKey(key.get(), 0, row.bufferChars, &name), row.expected);
    EXPECT_EQ(name, row.expected == 0 ? L"Alpha" : L"untouched");
  }
}

TEST_F(Win32RegistryTest, QueryValue_CopiesRawDataAndReportsItsSize) {
  RegKey key = OpenTestKey();
  struct Case {
    const char* what;
    std::wstring name;
    std::uint32_t capacity;
    Status expected;
    std::uint32_t expectedBytes;
    std::string expectedData;
  };
  const std::string hello("h\0e\0l\0l\0o\0\0\0", 12);
  const Case cases[] = {
      {"string with its terminator", L"Text", 64, 0, 12, hello},
      {"string into exactly its size", L"Text", 12, 0, 12, hello},
      {"string into a buffer too small", L"Text", 11, 234, 12, ""},
      {"dword whatever its type", L"Number", 4, 0, 4, std::string("\x04\x03\x02\x01", 4)},
      {"odd byte count", L"Odd", 8, 0, 3, std::string("a\0b", 3)},
      {"absent value", L"Missing", 8, 2, 8, ""},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.what);
    std::vector<char> buffer(64, '\x7f');
    std::uint32_t bytes = row.capacity;
    EXPECT_EQ(registry_.QueryValue(key.get(), row.name, buffer.data(), &bytes), row.expected);
    EXPECT_EQ(bytes, row.expectedBytes);
    if (row.expected == 0) {
      EXPECT_EQ(std::string(buffer.data(), bytes), row.expectedData);
    }
  }
}

TEST_F(Win32RegistryTest, QueryValue_WithoutBufferGivesTheSize) {
  RegKey key = OpenTestKey();
  std::uint32_t bytes = 0;
  EXPECT_EQ(registry_.QueryValue(key.get(), L"Text", nullptr, &bytes), 0u);
  EXPECT_EQ(bytes, 12u);
}

TEST_F(Win32RegistryTest, CloseKey_ReleasesOnceThenRejectsTheHandle) {
  RegHandle handle = 0;
  ASSERT_EQ(registry_.OpenKey(registry_.LocalMachine(), kTestKey, &handle), 0u);
  EXPECT_EQ(registry_.CloseKey(handle), 0u);
  EXPECT_EQ(registry_.CloseKey(handle), 6u);
}
