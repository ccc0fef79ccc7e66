// The local computer's drives in a lab: folders under drives/, path components matched ignoring case.
#pragma once

#include <filesystem>
#include <string>

#include "platform/files.h"

class LabFileSystem : public FileSystem {
 public:
  explicit LabFileSystem(std::filesystem::path drivesFolder) : drives_(std::move(drivesFolder)) {}

  // Where a Windows path such as D:\Zandor\HA\file.dat lives in the lab. Existing components
  // are matched ignoring case (as on NTFS); trailing blanks and dots of the last component are
  // dropped, as Win32 does. Empty when the path has no drive letter.
  std::filesystem::path HostPath(const std::wstring& windowsPath) const;

  Status ReadWholeFile(const std::wstring& path, std::string* bytes) override;
  Status ReplaceWholeFile(const std::wstring& path, const std::string& bytes) override;
  Status SetNormalAttributes(const std::wstring& path) override;
  Status RemoveFile(const std::wstring& path) override;

 private:
  // 0 when `file` exists as a file, else the code a Win32 open would give.
  static Status CheckExistingFile(const std::filesystem::path& file);

  std::filesystem::path drives_;
};
