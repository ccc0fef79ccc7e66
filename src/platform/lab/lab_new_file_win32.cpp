// New files on Windows, through the C runtime: _O_CREAT|_O_EXCL opens with CREATE_NEW, which
// fails on any name already there, a link included, and _commit flushes the file to the disk;
// MoveFileExW without REPLACE_EXISTING puts it under its name only when that is free.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <share.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <climits>

#include "common/unique_handle.h"
#include "platform/descriptor_traits.h"
#include "platform/lab/lab_new_file.h"

namespace {
// A descriptor of the C runtime, closed with _close.
using ScopedCrtFd = UniqueHandle<DescriptorTraits<_close>>;

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const auto chunk = static_cast<unsigned int>(std::min<std::size_t>(bytes.size(), INT_MAX));
    const int written = _write(fd, bytes.data(), chunk);
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}
}  // namespace

NewFileWrite WriteNewFile(const std::filesystem::path& file, std::string_view bytes) {
  int raw = -1;
  const errno_t opened = _wsopen_s(&raw, file.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                                   _SH_DENYRW, _S_IREAD | _S_IWRITE);
  ScopedCrtFd fd(raw);
  if (opened != 0) return opened == EEXIST ? NewFileWrite::NameTaken : NewFileWrite::NotCreated;
  const bool written = WriteAll(fd.get(), bytes) && _commit(fd.get()) == 0;
  return fd.Close() == status::Success && written ? NewFileWrite::Done : NewFileWrite::NotWritten;
}

std::uint32_t LabProcessId() { return static_cast<std::uint32_t>(_getpid()); }

Status RenameWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) return status::Success;
  const DWORD rc = GetLastError();
  return rc == ERROR_ALREADY_EXISTS || rc == ERROR_FILE_EXISTS ? status::FileExists : status::AccessDenied;
}

Status ReadBoundedHostFile(const std::filesystem::path& file, std::size_t maxBytes, std::string* bytes) {
  // A folder can't be opened as a file at all; it is told apart before trying.
  // (A device has no attributes to read: the open below tells.)
  if (const DWORD attributes = GetFileAttributesW(file.c_str());
      attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return status::BadFileType;
  }
  int raw = -1;
  const errno_t opened = _wsopen_s(&raw, file.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT, _SH_DENYNO, 0);
  const ScopedCrtFd fd(raw);
  if (opened != 0) return opened == ENOENT ? status::FileNotFound : status::AccessDenied;
  // A device (NUL, CON) or a pipe is no file of answers.
  if (GetFileType(reinterpret_cast<HANDLE>(_get_osfhandle(fd.get()))) != FILE_TYPE_DISK) return status::BadFileType;
  return ReadAtMost(
      maxBytes,
      [&fd](char* buffer, std::size_t count) {
        return _read(fd.get(), buffer, static_cast<unsigned int>(std::min<std::size_t>(count, INT_MAX)));
      },
      bytes);
}
