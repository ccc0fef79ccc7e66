// The file seam over CreateFileW and its companions; codes come from GetLastError unchanged.
#include "platform/win32/files_win32.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <string>

#include "platform/win32/scoped_handle.h"

namespace {
// WriteFile takes a DWORD count; files of the program are small, but never trust that.
constexpr std::size_t kMaxChunk = 1u << 30;

Status WriteAll(HANDLE file, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min(bytes.size() - done, kMaxChunk));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr)) return GetLastError();
    if (written == 0) return ERROR_WRITE_FAULT;
    done += written;
  }
  return status::Success;
}

// Names taken by others before a save gives up; each try takes the next number.
constexpr int kTemporaryNameAttempts = 100;

// Creates the file a save writes before it is put in place: "<name>.<process id>-<number>.new"
// beside the target, created new (CREATE_NEW), so that two programs saving at once never share
// one, and a name another writer or a crash left behind is passed over, never written into.
Status CreateOwnTemporary(const std::wstring& path, std::wstring* temporary, HANDLE* file) {
  static std::atomic<unsigned long> saves{0};
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    *temporary = path + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++saves) + L".new";
    *file = CreateFileW(temporary->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (*file != INVALID_HANDLE_VALUE) return status::Success;
    const Status rc = GetLastError();
    if (rc != ERROR_FILE_EXISTS && rc != ERROR_ALREADY_EXISTS) return rc;
  }
  return ERROR_FILE_EXISTS;
}

// Writes `bytes` into a temporary file of the save's own beside `path`, flushed and closed: 0
// with its name in `temporary`, else the failing step and code, the temporary removed.
Status WriteOwnTemporary(const std::wstring& path, const std::string& bytes, std::wstring* temporary,
                         FileWriteStep* failedStep) {
  HANDLE created = INVALID_HANDLE_VALUE;
  if (const Status rc = CreateOwnTemporary(path, temporary, &created); rc != status::Success) {
    return ReplacementFailed(FileWriteStep::Open, rc, failedStep);
  }
  ScopedHandle file(created);
  Status rc = WriteAll(file.get(), bytes);
  if (rc == status::Success && !FlushFileBuffers(file.get())) rc = GetLastError();
  if (const Status closed = file.Close(); rc == status::Success) rc = closed;
  if (rc == status::Success) return status::Success;
  DeleteFileW(temporary->c_str());
  return ReplacementFailed(FileWriteStep::Write, rc, failedStep);
}
}  // namespace

Status Win32FileSystem::ReadWholeFile(const std::wstring& path, std::string* bytes) {
  ScopedHandle file(
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsOpen()) return GetLastError();
  std::string content;
  char buffer[64 * 1024];
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr)) return GetLastError();
    if (read == 0) break;
    content.append(buffer, read);
  }
  *bytes = std::move(content);
  return status::Success;
}

Status Win32FileSystem::ReplaceWholeFile(const std::wstring& path, const std::string& bytes,
                                         FileWriteStep* failedStep) {
  // A file that is read-only or denied, or whose folder is missing, is refused before anything is
  // written; opening it for writing without truncation tells, and leaves it untouched.
  // Windows refuses a read-only file to writers of any rank. Wine keeps the attribute as the Unix
  // permission bits, which do not stop root, so the attribute is refused here as Windows refuses it.
  if (const DWORD attributes = GetFileAttributesW(path.c_str());
      attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return ReplacementFailed(FileWriteStep::Open, ERROR_ACCESS_DENIED, failedStep);
  }
  {
    ScopedHandle existing(CreateFileW(path.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!existing.IsOpen()) {
      const Status rc = GetLastError();
      if (rc != ERROR_FILE_NOT_FOUND) return ReplacementFailed(FileWriteStep::Open, rc, failedStep);
    }
  }
  std::wstring temporary;
  if (const Status rc = WriteOwnTemporary(path, bytes, &temporary, failedStep); rc != status::Success) return rc;
  if (MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return status::Success;
  }
  const Status rc = GetLastError();
  // The original stays as it was; only the half-made copy goes.
  DeleteFileW(temporary.c_str());
  return ReplacementFailed(FileWriteStep::Replace, rc, failedStep);
}

Status Win32FileSystem::CreateWholeFile(const std::wstring& path, const std::string& bytes, FileWriteStep* failedStep) {
  // Anything under the name, a link to nowhere included, keeps it: nothing is written.
  if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
    return ReplacementFailed(FileWriteStep::Open, ERROR_FILE_EXISTS, failedStep);
  }
  std::wstring temporary;
  if (const Status rc = WriteOwnTemporary(path, bytes, &temporary, failedStep); rc != status::Success) return rc;
  // Without MOVEFILE_REPLACE_EXISTING: what took the name meanwhile keeps it.
  if (MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) return status::Success;
  const Status rc = GetLastError();
  DeleteFileW(temporary.c_str());
  return ReplacementFailed(FileWriteStep::Replace, rc == ERROR_ALREADY_EXISTS ? ERROR_FILE_EXISTS : rc, failedStep);
}

Status Win32FileSystem::ReadBoundedFile(const std::wstring& path, std::size_t maxBytes, std::string* bytes) {
  // A folder can't be opened as a file at all; it is told apart before trying.
  // (A device has no attributes to read: the open below tells.)
  if (const DWORD attributes = GetFileAttributesW(path.c_str());
      attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return ERROR_BAD_FILE_TYPE;
  }
  ScopedHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsOpen()) return GetLastError();
  // A device (NUL, CON) or a pipe is no file to read whole.
  if (GetFileType(file.get()) != FILE_TYPE_DISK) return ERROR_BAD_FILE_TYPE;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) return GetLastError();
  if (static_cast<std::uint64_t>(size.QuadPart) > maxBytes) return ERROR_FILE_TOO_LARGE;
  std::string content(maxBytes + 1, '\0');
  std::size_t got = 0;
  while (got < content.size()) {
    DWORD read = 0;
    const DWORD chunk = static_cast<DWORD>(std::min(content.size() - got, kMaxChunk));
    if (!ReadFile(file.get(), content.data() + got, chunk, &read, nullptr)) return GetLastError();
    if (read == 0) break;
    got += read;
  }
  if (got > maxBytes) return ERROR_FILE_TOO_LARGE;
  content.resize(got);
  *bytes = std::move(content);
  return status::Success;
}

Status Win32FileSystem::CheckReadable(const std::wstring& path) {
  // Shared as freely as the C runtime's fopen shares, so a file another program holds open still counts.
  ScopedHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.IsOpen() ? status::Success : GetLastError();
}

Status Win32FileSystem::QueryFileStamp(const std::wstring& path, FileStamp* stamp) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return GetLastError();
  stamp->lastWriteTime =
      (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
  stamp->size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  return status::Success;
}

Status Win32FileSystem::SetNormalAttributes(const std::wstring& path) {
  return SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL) ? status::Success : GetLastError();
}

Status Win32FileSystem::RemoveFile(const std::wstring& path) {
  return DeleteFileW(path.c_str()) ? status::Success : GetLastError();
}

Status Win32FileSystem::CreateFolder(const std::wstring& path) {
  return CreateDirectoryW(path.c_str(), nullptr) ? status::Success : GetLastError();
}
