// The file seam over CreateFileW and its companions; codes come from GetLastError unchanged.
#pragma once

#include "platform/files.h"

class Win32FileSystem : public FileSystem {
 public:
  Status ReadWholeFile(const std::wstring& path, std::string* bytes) override;
  Status ReplaceWholeFile(const std::wstring& path, const std::string& bytes, FileWriteStep* failedStep) override;
  Status CreateWholeFile(const std::wstring& path, const std::string& bytes, FileWriteStep* failedStep) override;
  Status ReadBoundedFile(const std::wstring& path, std::size_t maxBytes, std::string* bytes) override;
  Status CheckReadable(const std::wstring& path) override;
  Status QueryFileStamp(const std::wstring& path, FileStamp* stamp) override;
  Status SetNormalAttributes(const std::wstring& path) override;
  Status RemoveFile(const std::wstring& path) override;
  Status CreateFolder(const std::wstring& path) override;
};
