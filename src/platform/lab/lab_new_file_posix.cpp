// New files on POSIX: O_CREAT|O_EXCL|O_NOFOLLOW, so that a name someone else holds, or a link
// planted under it, is never written into; fsync before the close, so that a rename after it
// publishes the whole content even across a crash; a rename that never replaces.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/lab/lab_new_file.h"

namespace {
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int get() const { return fd_; }
  // A failing close may be the write that failed: its answer counts.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

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
  FileDescriptor fd(::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
  if (fd.get() < 0) return errno == EEXIST ? NewFileWrite::NameTaken : NewFileWrite::NotCreated;
  const bool written = WriteAll(fd.get(), bytes) && ::fsync(fd.get()) == 0;
  return fd.Close() && written ? NewFileWrite::Done : NewFileWrite::NotWritten;
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
  FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (fd.get() < 0) {
    if (errno == ENOENT) return status::FileNotFound;
    return errno == ENOTDIR ? status::PathNotFound : status::AccessDenied;
  }
  struct stat state {};
  if (::fstat(fd.get(), &state) != 0) return status::AccessDenied;
  if (!S_ISREG(state.st_mode)) return status::BadFileType;
  if (static_cast<std::uintmax_t>(state.st_size) > maxBytes) return status::FileTooLarge;
  // Files such as those of /proc say 0 and hold more: the bound is kept while reading too.
  std::string content(maxBytes + 1, '\0');
  std::size_t got = 0;
  while (got < content.size()) {
    const ssize_t read = ::read(fd.get(), content.data() + got, content.size() - got);
    if (read < 0 && errno == EINTR) continue;
    if (read < 0) return status::AccessDenied;
    if (read == 0) break;
    got += static_cast<std::size_t>(read);
  }
  if (got > maxBytes) return status::FileTooLarge;
  content.resize(got);
  *bytes = std::move(content);
  return status::Success;
}
