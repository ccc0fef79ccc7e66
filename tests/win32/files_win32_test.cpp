// Win32FileSystem on Wine's real files: whole-file reads and replacements, removal, and their codes.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/files_win32.h"
#include "wine_fixtures.h"

namespace {
class Win32FileSystemTest : public ::testing::Test {
 protected:
  TempFolder folder_;
  Win32FileSystem files_;
};
}  // namespace

TEST_F(Win32FileSystemTest, MissingFileOrFolder_GivesWin32Codes) {
  const std::wstring missingFile = folder_.File(L"absent.txt");
  const std::wstring missingFolder = folder_.File(L"no-such-folder\\file.txt");
  struct Case {
    const char* what;
    std::wstring path;
    Status expected;
  };
  const Case cases[] = {{"missing file", missingFile, 2}, {"missing folder", missingFolder, 3}};
  for (const auto& row : cases) {
    SCOPED_TRACE(row.what);
    std::string bytes = "untouched";
    EXPECT_EQ(files_.ReadWholeFile(row.path, &bytes), row.expected);
    EXPECT_EQ(bytes, "untouched");
    EXPECT_EQ(files_.RemoveFile(row.path), row.expected);
    EXPECT_EQ(files_.SetNormalAttributes(row.path), row.expected);
  }
  EXPECT_EQ(files_.ReplaceWholeFile(missingFolder, "data", nullptr), 3u);
  EXPECT_FALSE(FileExists(missingFolder + L".new"));
}

TEST_F(Win32FileSystemTest, ReplaceWholeFile_WritesExactBytesAndLeavesNoTemporary) {
  const std::wstring path = folder_.File(L"values.dat");
  struct Case {
    const char* what;
    std::string before;  // empty: no file yet
    std::string written;
  };
  const std::string binary("line 1\r\nline 2\r\n\0\xff tail", 20);
  const Case cases[] = {
      {"new file", "", "first\r\n"},
      {"longer file replaced by a shorter one", "a much longer previous content\r\n", "short"},
      {"bytes kept as they are", "old", binary},
      {"empty content", "old", ""},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.what);
    DeleteFileW(path.c_str());
    if (!row.before.empty()) WriteFileBytes(path, row.before);
    ASSERT_EQ(files_.ReplaceWholeFile(path, row.written, nullptr), 0u);
    std::string read;
    ASSERT_EQ(files_.ReadWholeFile(path, &read), 0u);
    EXPECT_EQ(read, row.written);
    EXPECT_FALSE(FileExists(path + L".new"));
  }
}

TEST_F(Win32FileSystemTest, ReplaceWholeFile_OntoAFolderFailsAndCleansUp) {
  const std::wstring path = folder_.File(L"a-folder");
  ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
  EXPECT_NE(files_.ReplaceWholeFile(path, "data", nullptr), 0u);
  EXPECT_FALSE(FileExists(path + L".new"));
  EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(Win32FileSystemTest, RemoveFile_DeletesAndNormalAttributesClearReadOnly) {
  const std::wstring path = folder_.File(L"old.txt");
  WriteFileBytes(path, "x");
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(files_.SetNormalAttributes(path), 0u);
  EXPECT_FALSE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(files_.RemoveFile(path), 0u);
  EXPECT_FALSE(FileExists(path));
}
