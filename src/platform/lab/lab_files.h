// The local computer's drives in a lab: folders under drives/, path components matched ignoring case.
#pragma once

#include <filesystem>
#include <set>
#include <string>

#include "platform/files.h"

class LabFileSystem : public FileSystem {
 public:
  explicit LabFileSystem(std::filesystem::path drivesFolder) : drives_(std::move(drivesFolder)) {}

  // Where a Windows path such as D:\Zandor\HA\file.dat lives in the lab. Existing components
  // are matched ignoring case (as on NTFS); trailing blanks and dots of the last component are
  // dropped, as Win32 does. Empty when the path has no drive letter, or when a name would lead
  // off the lab's drives (one of dots and blanks only, such as "..", or one holding a ':').
  virtual std::filesystem::path HostPath(const std::wstring& windowsPath) const;

  Status ReadWholeFile(const std::wstring& path, std::string* bytes) override;
  Status ReplaceWholeFile(const std::wstring& path, const std::string& bytes, FileWriteStep* failedStep) override;
  Status CreateWholeFile(const std::wstring& path, const std::string& bytes, FileWriteStep* failedStep) override;
  Status ReadBoundedFile(const std::wstring& path, std::size_t maxBytes, std::string* bytes) override;
  Status CheckReadable(const std::wstring& path) override;
  Status QueryFileStamp(const std::wstring& path, FileStamp* stamp) override;
  Status SetNormalAttributes(const std::wstring& path) override;
  Status RemoveFile(const std::wstring& path) override;
  Status CreateFolder(const std::wstring& path) override;
  std::wstring HostPathOf(const std::wstring& path) override;

  // A full disk: from now on every file written on `driveLetter` fails part-way with 112
  // (ERROR_DISK_FULL), as a disk that fills up during the write; `full` false mends it.
  void SetDiskFull(wchar_t driveLetter, bool full);
  // A file whose access list refuses this user: opening, changing its attributes and deleting
  // it give 5 (ERROR_ACCESS_DENIED).
  void DenyFileAccess(const std::wstring& windowsPath);

 private:
  // 0 when `file` exists as a file, else the code a Win32 open would give.
  Status CheckExistingFile(const std::filesystem::path& file) const;
  bool IsDenied(const std::filesystem::path& file) const { return deniedFiles_.count(file) != 0; }
  // Writes `bytes` into a new temporary file of this save's own beside `file`, on drive `drive`
  // (whose disk may be full): 0 with its name in `temporary`, or the failure, nothing left behind.
  Status WriteTemporaryBeside(const std::filesystem::path& file, wchar_t drive, const std::string& bytes,
                              std::filesystem::path* temporary, FileWriteStep* failedStep) const;

  std::filesystem::path drives_;
  std::set<wchar_t> fullDrives_;  // upper-case letters
  std::set<std::filesystem::path> deniedFiles_;
};

// The files of the computer the lab edition runs on, named by their own paths, with the lab's
// file calls: what a person names on the command line (a report folder, an answers file).
class HostFileSystem final : public LabFileSystem {
 public:
  HostFileSystem() : LabFileSystem({}) {}
  std::filesystem::path HostPath(const std::wstring& path) const override;
  // Its paths are this computer's own.
  std::wstring HostPathOf(const std::wstring& /*path*/) override { return {}; }
};
