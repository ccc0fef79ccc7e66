// Builds small labs in a temporary folder for tests, and the wizard wired to one.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "platform/lab/lab.h"

enum class RegEncoding { Version5, Regedit4 };

class TempLab {
 public:
  explicit TempLab(const std::wstring& computerName = L"NODE-A");
  ~TempLab();
  TempLab(const TempLab&) = delete;
  TempLab& operator=(const TempLab&) = delete;

  const std::filesystem::path& Folder() const { return folder_; }

  // Writes an export with its header ("Windows Registry Editor Version 5.00" as UTF-16LE with
  // BOM, or "REGEDIT4" as single-byte text) followed by `body`, lines ended by CR LF.
  void AddRegFile(const std::wstring& server, const std::string& fileName, const std::wstring& body,
                  RegEncoding encoding = RegEncoding::Version5);
  // Any other file of a server's folder, written as given (services.txt, faults.conf ...).
  void WriteServerFile(const std::wstring& server, const std::string& fileName, const std::string& bytes);
  // Sets HighAvailMode of the server's product key (or leaves the key without it when `mode` < 0).
  void SetHighAvailMode(const std::wstring& server, long mode);

  // A file on one of the local computer's drives, given by its Windows path.
  void WriteDriveFile(const std::wstring& windowsPath, const std::string& bytes);
  std::string ReadDriveFile(const std::wstring& windowsPath) const;
  bool DriveFileExists(const std::wstring& windowsPath) const;
  // Whether a save left a temporary file of it beside the file (a name "<file name>.*.new").
  bool TemporaryLeftBeside(const std::wstring& windowsPath) const;
  std::filesystem::path DriveHostPath(const std::wstring& windowsPath) const;

  // A line added to lab.conf ("host = 10.9.9.1 ELAN", "cable = ...").
  void AddLabConfLine(const std::string& line);

  // The lab as the program would load it, its echoes waited on the lab's clock; null with `error` set when it is
  // malformed.
  std::unique_ptr<Lab> Load(std::string* error = nullptr) const;

 private:
  std::filesystem::path folder_;
};
