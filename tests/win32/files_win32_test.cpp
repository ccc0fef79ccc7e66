// Win32FileSystem on Wine's real files: whole-file reads and replacements, removal, readability, stamps, and their
// codes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/files_win32.h"
#include "platform/win32/scoped_handle.h"
#include "wine_fixtures.h"

namespace {
// The names in a folder, sorted: a save leaves its target and nothing of its own beside it.
std::vector<std::wstring> FolderEntries(const std::wstring& folder) {
  std::vector<std::wstring> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().wstring());
  std::sort(names.begin(), names.end());
  return names;
}

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
  EXPECT_TRUE(FolderEntries(folder_.Path()).empty());
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
    EXPECT_EQ(FolderEntries(folder_.Path()), std::vector<std::wstring>{L"values.dat"});
  }
}

TEST_F(Win32FileSystemTest, ReplaceWholeFile_OntoAFolderFailsAndCleansUp) {
  const std::wstring path = folder_.File(L"a-folder");
  ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
  EXPECT_NE(files_.ReplaceWholeFile(path, "data", nullptr), 0u);
  EXPECT_EQ(FolderEntries(folder_.Path()), std::vector<std::wstring>{L"a-folder"});
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

TEST_F(Win32FileSystemTest, ReplaceWholeFile_RefusedTargetKeepsItsContentAndNamesTheStep) {
  const std::wstring path = folder_.File(L"HADefaults.dat");
  const std::string before = "0\r\nsaved answers\r\n";
  enum class Target { ReadOnly, MissingFolder, Folder, OpenWithoutWriteSharing, OpenWithoutDeleteSharing };
  struct Case {
    const char* what;
    Target target;
    Status expected;
    FileWriteStep step;
  };
  const Case cases[] = {
      {"read-only file", Target::ReadOnly, 5, FileWriteStep::Open},
      {"missing folder", Target::MissingFolder, 3, FileWriteStep::Open},
      {"folder in place of the file", Target::Folder, 5, FileWriteStep::Open},
      // Another program holding the file: refused before anything is written, or at the swap.
      {"open elsewhere for reading only", Target::OpenWithoutWriteSharing, 32, FileWriteStep::Open},
      {"open elsewhere, shared but not for deletion", Target::OpenWithoutDeleteSharing, 5, FileWriteStep::Replace},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.what);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
    RemoveDirectoryW(path.c_str());
    std::wstring target = path;
    std::optional<ScopedHandle> holder;
    switch (row.target) {
      case Target::ReadOnly:
        WriteFileBytes(path, before);
        ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
        break;
      case Target::MissingFolder: target = folder_.File(L"no-such-folder\\HADefaults.dat"); break;
      case Target::Folder: ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr)); break;
      case Target::OpenWithoutWriteSharing:
      case Target::OpenWithoutDeleteSharing: {
        WriteFileBytes(path, before);
        const DWORD sharing =
            row.target == Target::OpenWithoutWriteSharing ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_WRITE;
        holder.emplace(CreateFileW(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder->IsOpen());
        break;
      }
    }

    FileWriteStep step = row.step == FileWriteStep::Open ? FileWriteStep::Write : FileWriteStep::Open;
    const Status rc = files_.ReplaceWholeFile(target, "1\r\nnew answers\r\n", &step);

    EXPECT_EQ(rc, row.expected);
    EXPECT_EQ(step, row.step);
    EXPECT_EQ(FolderEntries(folder_.Path()), row.target == Target::MissingFolder
                                                 ? std::vector<std::wstring>{}
                                                 : std::vector<std::wstring>{L"HADefaults.dat"});
    holder.reset();
    if (row.target == Target::Folder) {
      EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    } else if (row.target != Target::MissingFolder) {
      EXPECT_EQ(ReadFileBytes(path), before);
    }
  }
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A temporary name another writer holds, or a crash left behind, is passed over: never written
// into, never removed, and the save still publishes its whole content.
TEST_F(Win32FileSystemTest, ReplaceWholeFile_PassesOverTemporaryFilesLeftByOthers) {
  const std::wstring path = folder_.File(L"HADefaults.dat");
  const std::wstring leftover = path + L".new";
  enum class Leftover { ReadOnlyFromACrash, HeldByAnotherWriter };
  struct Case {
    const char* what;
    Leftover leftover;
  };
  const Case cases[] = {
      {"a crash's read-only leftover", Leftover::ReadOnlyFromACrash},
      {"another writer's temporary, held open without sharing", Leftover::HeldByAnotherWriter},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.what);
    WriteFileBytes(path, "0\r\nsaved before\r\n");
    WriteFileBytes(leftover, "someone else's");
    std::optional<ScopedHandle> holder;
    if (row.leftover == Leftover::ReadOnlyFromACrash) {
      ASSERT_TRUE(SetFileAttributesW(leftover.c_str(), FILE_ATTRIBUTE_READONLY));
    } else {
      holder.emplace(CreateFileW(leftover.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
      ASSERT_TRUE(holder->IsOpen());
    }

    EXPECT_EQ(files_.ReplaceWholeFile(path, "1\r\nnew answers\r\n", nullptr), 0u);

    holder.reset();
    EXPECT_EQ(ReadFileBytes(path), "1\r\nnew answers\r\n");
    EXPECT_EQ(ReadFileBytes(leftover), "someone else's");
    EXPECT_EQ(FolderEntries(folder_.Path()), (std::vector<std::wstring>{L"HADefaults.dat", L"HADefaults.dat.new"}));
    SetFileAttributesW(leftover.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(leftover.c_str());
  }
}

TEST_F(Win32FileSystemTest, CheckReadable_OpensAndClosesOrGivesTheCode) {
  const std::wstring path = folder_.File(L"Vestamail-Mirroring.def");
  const std::wstring aFolder = folder_.File(L"a-folder");
  ASSERT_TRUE(CreateDirectoryW(aFolder.c_str(), nullptr));
  enum class Holder { None, WriterSharingReads, Exclusive };
  struct Case {
    const char* what;
    std::wstring path;
    Holder holder;
    Status expected;
  };
  const Case cases[] = {
      {"file", path, Holder::None, 0},
      // The installer may still hold the file it has just written; the C runtime's fopen opens it then too.
      {"file another program writes, sharing reads and writes", path, Holder::WriterSharingReads, 0},
      {"file another program holds exclusively", path, Holder::Exclusive, 32},
      {"missing file", folder_.File(L"absent.def"), Holder::None, 2},
      {"missing folder", folder_.File(L"no-such-folder\\file.def"), Holder::None, 3},
      {"a folder", aFolder, Holder::None, 5},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.what);
    WriteFileBytes(path, "definition\r\n");
    std::optional<ScopedHandle> holder;
    if (row.holder != Holder::None) {
      const DWORD sharing = row.holder == Holder::Exclusive ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE;
      holder.emplace(CreateFileW(path.c_str(), GENERIC_WRITE, sharing, nullptr, OPEN_EXISTING, 0, nullptr));
      ASSERT_TRUE(holder->IsOpen());
    }
    EXPECT_EQ(files_.CheckReadable(row.path), row.expected);
    holder.reset();
    // Nothing stays open: a handle left behind would keep the file from being deleted.
    EXPECT_TRUE(DeleteFileW(path.c_str()));
  }
}

TEST_F(Win32FileSystemTest, QueryFileStamp_IsTheWriteTimeAndSizeAndChangesWithARewrite) {
  const std::wstring path = folder_.File(L"Vestamail-Mirroring-Single.def");
  WriteFileBytes(path, "12345");
  // A time whose two halves both matter, long before this run.
  const std::uint64_t earlier = 0x01D5A1B2C3D4E5F0;
  {
    ScopedHandle file(
        CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    const FILETIME written{static_cast<DWORD>(earlier & 0xFFFFFFFF), static_cast<DWORD>(earlier >> 32)};
    ASSERT_TRUE(SetFileTime(file.get(), nullptr, nullptr, &written));
  }
  FileStamp first;
  ASSERT_EQ(files_.QueryFileStamp(path, &first), 0u);
  EXPECT_EQ(first.lastWriteTime, earlier);
  EXPECT_EQ(first.size, 5u);

  // The same length written again: only the time tells the versions apart.
  WriteFileBytes(path, "54321");
  FileStamp rewritten;
  ASSERT_EQ(files_.QueryFileStamp(path, &rewritten), 0u);
  EXPECT_EQ(rewritten.size, 5u);
  EXPECT_GT(rewritten.lastWriteTime, first.lastWriteTime);
  EXPECT_NE(rewritten, first);

  // A size beyond 32 bits, without writing gigabytes: the end of the file moved, the rest left sparse.
  {
    ScopedHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER end{};
    end.QuadPart = 5LL << 30;
    ASSERT_TRUE(SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(file.get()));
  }
  FileStamp large;
  ASSERT_EQ(files_.QueryFileStamp(path, &large), 0u);
  EXPECT_EQ(large.size, 5ull << 30);
  DeleteFileW(path.c_str());

  struct Case {
    const char* what;
    std::wstring path;
    Status expected;
  };
  const Case missing[] = {{"missing file", folder_.File(L"absent.def"), 2},
                          {"missing folder", folder_.File(L"no-such-folder\\absent.def"), 3}};
  for (const auto& row : missing) {
    SCOPED_TRACE(row.what);
    FileStamp untouched = first;
    EXPECT_EQ(files_.QueryFileStamp(row.path, &untouched), row.expected);
    EXPECT_EQ(untouched, first);
  }
}

// A new file is made only where nothing is; a named file is read only when it is a small file.
TEST_F(Win32FileSystemTest, CreateWholeFileNeverReplacesAndReadBoundedFileReadsOnlyASmallFile) {
  const std::wstring report = folder_.File(L"readiness.json");
  ASSERT_EQ(files_.CreateWholeFile(report, "first", nullptr), 0u);
  FileWriteStep step = FileWriteStep::Write;
  EXPECT_EQ(files_.CreateWholeFile(report, "second", &step), static_cast<Status>(ERROR_FILE_EXISTS));
  EXPECT_EQ(step, FileWriteStep::Open);
  EXPECT_EQ(ReadFileBytes(report), "first");
  EXPECT_EQ(FolderEntries(folder_.Path()), std::vector<std::wstring>{L"readiness.json"});

  const std::wstring large = folder_.File(L"large.dat");
  WriteFileBytes(large, std::string(11, 'x'));
  struct Case {
    const char* what;
    std::wstring path;
    Status expected;
  };
  const Case cases[] = {
      {"a file within the bound", report, 0},
      {"a file over the bound", large, ERROR_FILE_TOO_LARGE},
      {"a folder", folder_.Path(), ERROR_BAD_FILE_TYPE},
      {"a device", L"NUL", ERROR_BAD_FILE_TYPE},
      {"not there", folder_.File(L"absent.dat"), ERROR_FILE_NOT_FOUND},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string bytes = "untouched";
    EXPECT_EQ(files_.ReadBoundedFile(c.path, 10, &bytes), c.expected);
    EXPECT_EQ(bytes, c.expected == 0 ? "first" : "untouched");
  }
}
