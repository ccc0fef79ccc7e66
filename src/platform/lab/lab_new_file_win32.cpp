// Writing a new file on Windows, through the C runtime: _O_CREAT|_O_EXCL opens with CREATE_NEW,
// which fails on any name already there, a link included, and _commit flushes the file to the disk.
#include "platform/lab/lab_new_file.h"

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

namespace {
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
  UniqueHandle<DescriptorTraits<_close>> fd(raw);
  if (opened != 0) return opened == EEXIST ? NewFileWrite::NameTaken : NewFileWrite::NotCreated;
  const bool written = WriteAll(fd.get(), bytes) && _commit(fd.get()) == 0;
  return fd.Close() == status::Success && written ? NewFileWrite::Done : NewFileWrite::NotWritten;
}

std::uint32_t LabProcessId() { return static_cast<std::uint32_t>(_getpid()); }
