// The file calls the program makes: whole-file reads and writes of its small text files, and removal.
#pragma once

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

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Reads the whole file. Not found: 2; missing directory: 3; no access: 5.
  virtual Status ReadWholeFile(const std::wstring& path, std::string* bytes) = 0;

  // Writes `bytes` to a new file beside `path` and replaces `path` with it only when
  // every write and the close succeeded; on failure `path` is left as it was, and
  // `failedStep` (when given) says which part failed.
  virtual Status ReplaceWholeFile(const std::wstring& path, const std::string& bytes,
                                  FileWriteStep* failedStep) = 0;

  // SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL).
  virtual Status SetNormalAttributes(const std::wstring& path) = 0;

  // DeleteFileW(path).
  virtual Status RemoveFile(const std::wstring& path) = 0;
};
