// The file calls the program makes: whole-file reads and writes of its small text files, and removal.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/status.h"

// The part of a whole-file replacement that failed: opening for writing (the folder is missing,
// the file is read-only or denied), writing the new content and closing it, or putting it in place.
enum class FileWriteStep { Open, Write, Replace };

// A replacement's failure: records the step where the caller asked for it and returns the code.
inline Status ReplacementFailed(FileWriteStep step, Status rc, FileWriteStep* failedStep) {
  if (failedStep != nullptr) *failedStep = step;
  return rc;
}

// What tells one version of a file from another: when it was last written and how long it is.
struct FileStamp {
  std::uint64_t lastWriteTime = 0;  // 100-nanosecond units, as FILETIME
  std::uint64_t size = 0;

  bool operator==(const FileStamp&) const = default;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Reads the whole file. Not found: 2; missing directory: 3; no access: 5.
  virtual Status ReadWholeFile(const std::wstring& path, std::string* bytes) = 0;

  // Writes `bytes` to a new file beside `path` and replaces `path` with it only when
  // every write and the close succeeded; on failure `path` is left as it was, and
  // `failedStep` (when given) says which part failed.
  virtual Status ReplaceWholeFile(const std::wstring& path, const std::string& bytes, FileWriteStep* failedStep) = 0;

  // Writes `bytes` as a new file at `path`, never over anything there: into a temporary file of its
  // own beside `path` (created exclusively, never through a link), flushed to the disk, then
  // renamed to `path` without replacing (CREATE_NEW, MoveFileExW without REPLACE_EXISTING). 80
  // (ERROR_FILE_EXISTS) when `path` is taken, by anything, a link to nowhere included; nothing
  // but the complete file ever has the name, and on failure the temporary is removed.
  virtual Status CreateWholeFile(const std::wstring& path, const std::string& bytes, FileWriteStep* failedStep) = 0;

  // Reads a file someone named, which may be anything: only a file of at most `maxBytes` is read,
  // opened so that nothing (a pipe without a writer) holds the open. A folder, a device or a pipe:
  // 222 (ERROR_BAD_FILE_TYPE); larger: 223 (ERROR_FILE_TOO_LARGE); else as ReadWholeFile.
  virtual Status ReadBoundedFile(const std::wstring& path, std::size_t maxBytes, std::string* bytes) = 0;

  // Opens the file for reading and closes it again, reading nothing: 0 when it opens.
  // Not found: 2; missing directory: 3; a folder or no access: 5.
  virtual Status CheckReadable(const std::wstring& path) = 0;

  // The file's stamp. Not found: 2; missing directory: 3.
  virtual Status QueryFileStamp(const std::wstring& path, FileStamp* stamp) = 0;

  // SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL).
  virtual Status SetNormalAttributes(const std::wstring& path) = 0;

  // DeleteFileW(path).
  virtual Status RemoveFile(const std::wstring& path) = 0;

  // CreateDirectoryW(path): one folder, whose parent must exist. Already there: 183.
  virtual Status CreateFolder(const std::wstring& path) = 0;

  // Where `path` is on the computer the program runs on when that is not `path` itself (a lab's
  // drives are folders of the lab); empty on the real system.
  virtual std::wstring HostPathOf(const std::wstring& /*path*/) { return {}; }
};
