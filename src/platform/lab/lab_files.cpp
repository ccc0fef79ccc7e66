// The local computer's drives in a lab.
#include "platform/lab/lab_files.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cwctype>
#include <fstream>
#include <iterator>
#include <string_view>
#include <system_error>
#include <vector>

#include "common/text_case.h"
#include "platform/lab/lab_new_file.h"
#include "common/path_text.h"

namespace fs = std::filesystem;

namespace {
std::vector<std::wstring> SplitWindowsPath(const std::wstring& path) {
  std::vector<std::wstring> parts;
  std::wstring part;
  for (const wchar_t c : path) {
    if (c == L'\\' || c == L'/') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

// The entry of `folder` whose name equals `name` ignoring case, or `name` itself.
fs::path MatchEntry(const fs::path& folder, const std::wstring& name) {
  std::error_code error;
  if (fs::is_directory(folder, error)) {
    for (const auto& entry : fs::directory_iterator(folder, error)) {
      if (EqualsIgnoringAsciiCase(WideFromPath(entry.path().filename()), name)) return entry.path();
    }
  }
  return folder / PathFromWide(name);
}

// A name that would lead off the lab's drives: one of dots and blanks only (".." climbs, and so may
// any such name once Win32 has trimmed its trailing dots and blanks), or one holding a ':' (another
// drive, or a stream of the file).
bool LeavesTheDrives(const std::wstring& part) {
  return part.find_first_not_of(L". ") == std::wstring::npos || part.find(L':') != std::wstring::npos;
}
}  // namespace

fs::path LabFileSystem::HostPath(const std::wstring& windowsPath) const {
  const wchar_t drive = windowsPath.empty() ? L'\0' : static_cast<wchar_t>(windowsPath[0] | 0x20);
  if (windowsPath.size() < 2 || windowsPath[1] != L':' || drive < L'a' || drive > L'z') return {};
  std::vector<std::wstring> parts = SplitWindowsPath(windowsPath.substr(2));
  for (const std::wstring& part : parts) {
    if (LeavesTheDrives(part)) return {};
  }
  // What is left of the last name once its trailing blanks and dots go is never empty: such names are refused above.
  if (!parts.empty()) {
    std::wstring& last = parts.back();
    while (last.back() == L' ' || last.back() == L'.') last.pop_back();
  }
  fs::path current = MatchEntry(drives_, std::wstring(1, windowsPath[0]));
  for (const auto& part : parts) current = MatchEntry(current, part);
  return current;
}

Status LabFileSystem::CheckExistingFile(const fs::path& file) const {
  std::error_code error;
  if (file.empty() || !fs::is_directory(file.parent_path(), error)) return status::PathNotFound;
  const auto state = fs::status(file, error);
  if (!fs::exists(state)) return status::FileNotFound;
  if (fs::is_directory(state) || IsDenied(file)) return status::AccessDenied;
  return status::Success;
}

Status LabFileSystem::ReadWholeFile(const std::wstring& path, std::string* bytes) {
  const fs::path file = HostPath(path);
  if (const Status rc = CheckExistingFile(file); rc != status::Success) return rc;
  std::ifstream in(file, std::ios::binary);
  if (!in) return status::AccessDenied;
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return in.bad() ? status::AccessDenied : status::Success;
}

Status LabFileSystem::CheckReadable(const std::wstring& path) { return CheckExistingFile(HostPath(path)); }

Status LabFileSystem::QueryFileStamp(const std::wstring& path, FileStamp* stamp) {
  const fs::path file = HostPath(path);
  std::error_code error;
  if (file.empty() || !fs::is_directory(file.parent_path(), error)) return status::PathNotFound;
  const auto state = fs::status(file, error);
  if (!fs::exists(state)) return status::FileNotFound;
  const auto written = fs::last_write_time(file, error);
  if (error) return status::AccessDenied;
  // The file clock's own ticks, turned into FILETIME's 100-nanosecond units.
  const auto ticks = std::chrono::duration_cast<std::chrono::nanoseconds>(written.time_since_epoch()).count() / 100;
  stamp->lastWriteTime = static_cast<std::uint64_t>(ticks);
  stamp->size = fs::is_regular_file(state) ? static_cast<std::uint64_t>(fs::file_size(file, error)) : 0;
  return status::Success;
}

namespace {
// Names taken by others before this save gives up; each try takes the next number.
constexpr int kTemporaryNameAttempts = 100;

// "<name>.<process id>-<number>.new" beside the file: no other program, and no other save of this
// one, picks the same name, and a name left by a crash is passed over.
fs::path TemporaryNameBeside(const fs::path& file) {
  static std::atomic<std::uint32_t> saves{0};
  std::string suffix = ".";
  suffix += std::to_string(LabProcessId());
  suffix += '-';
  suffix += std::to_string(++saves);
  suffix += ".new";
  fs::path temporary = file;
  temporary += suffix;
  return temporary;
}

bool IsReadOnly(const fs::path& file) {
  std::error_code error;
  const auto state = fs::status(file, error);
  return !error && fs::exists(state) && (state.permissions() & fs::perms::owner_write) == fs::perms::none;
}
}  // namespace

Status LabFileSystem::WriteTemporaryBeside(const fs::path& file, wchar_t drive, const std::string& bytes,
                                           fs::path* temporary, FileWriteStep* failedStep) const {
  // A full disk takes the first half and refuses the rest.
  const bool diskFull = fullDrives_.count(static_cast<wchar_t>(std::towupper(drive))) != 0;
  const std::string_view room(bytes.data(), diskFull ? bytes.size() / 2 : bytes.size());
  // The new content goes into a file of this save's own, so that two programs saving at once
  // never write into one file, and one that fails leaves the other's work alone.
  NewFileWrite written = NewFileWrite::NameTaken;
  for (int attempt = 0; attempt < kTemporaryNameAttempts && written == NewFileWrite::NameTaken; ++attempt) {
    *temporary = TemporaryNameBeside(file);
    written = WriteNewFile(*temporary, room);
  }
  if (written == NewFileWrite::NameTaken || written == NewFileWrite::NotCreated) {
    return ReplacementFailed(FileWriteStep::Open, status::AccessDenied, failedStep);
  }
  if (written == NewFileWrite::NotWritten || diskFull) {
    std::error_code error;
    fs::remove(*temporary, error);
    return ReplacementFailed(FileWriteStep::Write, diskFull ? status::DiskFull : status::WriteFault, failedStep);
  }
  return status::Success;
}

Status LabFileSystem::ReplaceWholeFile(const std::wstring& path, const std::string& bytes, FileWriteStep* failedStep) {
  const fs::path file = HostPath(path);
  std::error_code error;
  if (file.empty() || !fs::is_directory(file.parent_path(), error)) {
    return ReplacementFailed(FileWriteStep::Open, status::PathNotFound, failedStep);
  }
  // A folder, or a file whose read-only attribute is set, cannot be opened for writing. The
  // lab often runs as root, for whom the permission bits never refuse, so they are read here.
  if (fs::is_directory(file, error) || IsReadOnly(file) || IsDenied(file)) {
    return ReplacementFailed(FileWriteStep::Open, status::AccessDenied, failedStep);
  }
  fs::path temporary;
  if (const Status rc = WriteTemporaryBeside(file, path[0], bytes, &temporary, failedStep); rc != status::Success) {
    return rc;
  }
  fs::rename(temporary, file, error);
  if (error) {
    fs::remove(temporary, error);
    return ReplacementFailed(FileWriteStep::Replace, status::AccessDenied, failedStep);
  }
  return status::Success;
}

Status LabFileSystem::CreateWholeFile(const std::wstring& path, const std::string& bytes, FileWriteStep* failedStep) {
  const fs::path file = HostPath(path);
  std::error_code error;
  if (file.empty() || !fs::is_directory(file.parent_path(), error)) {
    return ReplacementFailed(FileWriteStep::Open, status::PathNotFound, failedStep);
  }
  // Anything under the name, a link to nowhere included, keeps it: nothing is written.
  if (fs::exists(fs::symlink_status(file, error))) {
    return ReplacementFailed(FileWriteStep::Open, status::FileExists, failedStep);
  }
  fs::path temporary;
  if (const Status rc = WriteTemporaryBeside(file, path.empty() ? L'\0' : path[0], bytes, &temporary, failedStep);
      rc != status::Success) {
    return rc;
  }
  // What took the name meanwhile keeps it too.
  const Status rc = RenameWithoutReplacing(temporary, file);
  if (rc == status::Success) return rc;
  fs::remove(temporary, error);
  return ReplacementFailed(FileWriteStep::Replace, rc, failedStep);
}

Status LabFileSystem::ReadBoundedFile(const std::wstring& path, std::size_t maxBytes, std::string* bytes) {
  const fs::path file = HostPath(path);
  if (file.empty()) return status::PathNotFound;
  if (IsDenied(file)) return status::AccessDenied;
  return ReadBoundedHostFile(file, maxBytes, bytes);
}

void LabFileSystem::DenyFileAccess(const std::wstring& windowsPath) { deniedFiles_.insert(HostPath(windowsPath)); }

void LabFileSystem::SetDiskFull(wchar_t driveLetter, bool full) {
  const auto letter = static_cast<wchar_t>(std::towupper(driveLetter));
  if (full) {
    fullDrives_.insert(letter);
  } else {
    fullDrives_.erase(letter);
  }
}

Status LabFileSystem::SetNormalAttributes(const std::wstring& path) {
  const fs::path file = HostPath(path);
  std::error_code error;
  if (file.empty() || !fs::is_directory(file.parent_path(), error)) return status::PathNotFound;
  if (!fs::exists(file, error)) return status::FileNotFound;
  if (IsDenied(file)) return status::AccessDenied;
  fs::permissions(file, fs::perms::owner_write, fs::perm_options::add, error);
  return error ? status::AccessDenied : status::Success;
}

Status LabFileSystem::RemoveFile(const std::wstring& path) {
  const fs::path file = HostPath(path);
  if (const Status rc = CheckExistingFile(file); rc != status::Success) return rc;
  // As DeleteFileW, a read-only file is refused until its attributes are made normal.
  if (IsReadOnly(file)) return status::AccessDenied;
  std::error_code error;
  fs::remove(file, error);
  return error ? status::AccessDenied : status::Success;
}

Status LabFileSystem::CreateFolder(const std::wstring& path) {
  const fs::path folder = HostPath(path);
  std::error_code error;
  if (folder.empty() || !fs::is_directory(folder.parent_path(), error)) return status::PathNotFound;
  if (fs::exists(folder, error)) return status::AlreadyExists;
  return fs::create_directory(folder, error) ? status::Success : status::AccessDenied;
}

std::wstring LabFileSystem::HostPathOf(const std::wstring& path) {
  const fs::path host = HostPath(path);
  return host.empty() ? std::wstring() : WideFromPath(host);
}

fs::path HostFileSystem::HostPath(const std::wstring& path) const {
  if (path.empty()) return {};
  // A relative name is taken from the current directory, as the shell that passed it takes it.
  std::error_code error;
  const fs::path named = PathFromWide(path);
  const fs::path absolute = fs::absolute(named, error);
  return error ? named : absolute;
}
