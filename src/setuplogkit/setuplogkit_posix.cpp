// SetupLogKit's log file on Linux: $XDG_STATE_HOME/duplex-setup/install.log, appended with O_APPEND.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/scoped_fd.h"
#include "setuplogkit/log_file.h"
#include "setuplogkit/setuplogkit.h"

const char* const kLogLineEnd = "\n";

std::tm LocalCalendarTime(std::time_t seconds) {
  std::tm local{};
  localtime_r(&seconds, &local);
  return local;
}

namespace {
std::string LogFilePath() {
  if (const char* path = std::getenv(SETUPLOGKIT_LOG_FILE_VARIABLE); path != nullptr && *path != '\0') return path;
  std::string folder;
  if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && *state != '\0') {
    folder = state;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    folder = std::string(home) + "/.local/state";
  } else {
    folder = "/tmp";
  }
  folder += "/duplex-setup";
  ::mkdir(folder.c_str(), 0755);
  return folder + "/install.log";
}
}  // namespace

int AppendToLogFile(const std::string& line) {
  // O_APPEND makes each write(2) land at the end as one piece: no interleaving, no truncation.
  const ScopedFd file(::open(LogFilePath().c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644));
  if (!file.IsOpen()) return errno;
  const ssize_t written = ::write(file.get(), line.data(), line.size());
  return written == static_cast<ssize_t>(line.size()) ? 0 : (written < 0 ? errno : EIO);
}
