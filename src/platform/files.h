// The file calls the program makes: whole-file reads and writes of its small text files, and removal.
#pragma once

#include <string>

#include "common/status.h"

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Reads the whole file. Not found: 2; missing directory: 3; no access: 5.
  virtual Status ReadWholeFile(const std::wstring& path, std::string* bytes) = 0;

  // Writes `bytes` to a new file beside `path` and replaces `path` with it only when
  // every write and the close succeeded; on failure `path` is left as it was.
  virtual Status ReplaceWholeFile(const std::wstring& path, const std::string& bytes) = 0;

  // SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL).
  virtual Status SetNormalAttributes(const std::wstring& path) = 0;

  // DeleteFileW(path).
  virtual Status RemoveFile(const std::wstring& path) = 0;
};
