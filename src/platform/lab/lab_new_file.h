// The file calls of the lab's drives that differ between systems (lab_new_file_posix.cpp,
// lab_new_file_win32.cpp): writing a file that did not exist before, putting it under its name
// without replacing anything, and reading a file that may be anything.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

#include "common/status.h"

enum class NewFileWrite {
  Done,        // created, written, flushed to the disk and closed
  NameTaken,   // something is there already (a file, a folder, a link even to nowhere): left alone
  NotCreated,  // the folder refused it
  NotWritten,  // created, but a write, the flush or the close failed: the caller removes it
};

// Creates `file` exclusively, never through a link, and writes `bytes` into it.
NewFileWrite WriteNewFile(const std::filesystem::path& file, std::string_view bytes);

// This process's id, which keeps the temporary names of two programs saving at once apart.
std::uint32_t LabProcessId();

// Renames the complete file `from` to `to` only when nothing has that name (renameat2 with
// RENAME_NOREPLACE, else a hard link and the old name removed; MoveFileExW without
// REPLACE_EXISTING): 0, 80 when the name is taken (a link to nowhere included), else 5.
Status RenameWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

// Reads `file` when it is a file of at most `maxBytes`: opened without waiting (a pipe without a
// writer), its type taken from the open file. 0; 2 or 3 when it is not there; 222 for a folder, a
// device or a pipe; 223 when larger; 5 when it can't be opened or read.
Status ReadBoundedHostFile(const std::filesystem::path& file, std::size_t maxBytes, std::string* bytes);

// The reading loop of ReadBoundedHostFile on both systems: `readSome(buffer, count)` returns how many bytes it
// read, 0 at the end, less than 0 on a failure. Files such as those of /proc say 0 and hold more, so the bound
// is kept while reading too.
template <typename ReadSome>
Status ReadAtMost(std::size_t maxBytes, ReadSome readSome, std::string* bytes) {
  std::string content(maxBytes + 1, '\0');
  std::size_t got = 0;
  while (got < content.size()) {
    const auto read = readSome(content.data() + got, content.size() - got);
    if (read < 0) return status::AccessDenied;
    if (read == 0) break;
    got += static_cast<std::size_t>(read);
  }
  if (got > maxBytes) return status::FileTooLarge;
  content.resize(got);
  *bytes = std::move(content);
  return status::Success;
}
