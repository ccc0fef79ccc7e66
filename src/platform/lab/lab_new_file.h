// Writing a file that did not exist before, the copy a save puts in place: the one file call of
// the lab's drives that differs between systems (lab_new_file_posix.cpp, lab_new_file_win32.cpp).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

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
