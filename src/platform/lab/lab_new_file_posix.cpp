// New files on POSIX: O_CREAT|O_EXCL|O_NOFOLLOW, so that a name someone else holds, or a link
// planted under it, is never written into; fsync before the close, so that a rename after it
// publishes the whole content even across a crash; a rename that never replaces.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/lab/lab_new_file.h"

#include "platform/scoped_fd.h"

namespace {
bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}
}  // namespace

NewFileWrite WriteNewFile(const std::filesystem::path& file, std::string_view bytes) {
  ScopedFd fd(::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
  if (!fd.IsOpen()) return errno == EEXIST ? NewFileWrite::NameTaken : NewFileWrite::NotCreated;
  const bool written = WriteAll(fd.get(), bytes) && ::fsync(fd.get()) == 0;
  return fd.Close() == status::Success && written ? NewFileWrite::Done : NewFileWrite::NotWritten;
}

std::uint32_t LabProcessId() { return static_cast<std::uint32_t>(::getpid()); }

Status RenameWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return status::Success;
  if (errno == EEXIST) return status::FileExists;
  // File systems without RENAME_NOREPLACE still refuse a hard link over any name that is there.
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return status::AccessDenied;
  if (::link(from.c_str(), to.c_str()) != 0) return errno == EEXIST ? status::FileExists : status::AccessDenied;
  ::unlink(from.c_str());
  return status::Success;
}

Status ReadBoundedHostFile(const std::filesystem::path& file, std::size_t maxBytes, std::string* bytes) {
  // O_NONBLOCK: opening a pipe nobody writes to returns at once, and is then refused for its type.
  const ScopedFd fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!fd.IsOpen()) {
    if (errno == ENOENT) return status::FileNotFound;
    return errno == ENOTDIR ? status::PathNotFound : status::AccessDenied;
  }
  struct stat state {};
  if (::fstat(fd.get(), &state) != 0) return status::AccessDenied;
  if (!S_ISREG(state.st_mode)) return status::BadFileType;
  if (static_cast<std::uintmax_t>(state.st_size) > maxBytes) return status::FileTooLarge;
  return ReadAtMost(
      maxBytes,
      [&fd](char* buffer, std::size_t count) {
        ssize_t read = 0;
        do {
          read = ::read(fd.get(), buffer, count);
        } while (read < 0 && errno == EINTR);
        return read;
      },
      bytes);
}
