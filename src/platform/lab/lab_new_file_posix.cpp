// Writing a new file on POSIX: O_CREAT|O_EXCL|O_NOFOLLOW, so that a name someone else holds, or a
// link planted under it, is never written into; fsync before the close, so that a rename after it
// publishes the whole content even across a crash.
#include "platform/lab/lab_new_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

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
