// What an entry of a lab folder is, seen without following it: the one question about a lab's
// entries whose answer differs between systems (lab_entry_kind_posix.cpp, lab_entry_kind_win32.cpp).
#pragma once

#include <filesystem>

enum class LabEntryKind {
  File,
  Folder,
  Link,   // a symbolic link, or on Windows a junction or any other reparse point
  Other,  // a pipe, a device, a socket, or an entry that can't be looked at
};

LabEntryKind KindOfLabEntry(const std::filesystem::path& entry);
