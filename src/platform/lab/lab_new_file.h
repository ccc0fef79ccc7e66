// The file calls of the lab's drives that differ between systems (lab_new_file_posix.cpp,
// lab_new_file_win32.cpp): writing a file that did not exist before, putting it under its name
// without replacing anything, and reading a file that may be anything.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

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
