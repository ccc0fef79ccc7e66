// A lab entry's kind on Windows, from its own directory entry: a junction or a symbolic link is a
// reparse point, which the C++ library of some compilers takes for the folder or file it leads to.
#include <windows.h>

#include "platform/lab/lab_entry_kind.h"

LabEntryKind KindOfLabEntry(const std::filesystem::path& entry) {
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW(entry.wstring().c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return LabEntryKind::Other;
  FindClose(search);
  const DWORD attributes = found.dwFileAttributes;
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return LabEntryKind::Link;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return LabEntryKind::Folder;
  if ((attributes & FILE_ATTRIBUTE_DEVICE) != 0) return LabEntryKind::Other;
  return LabEntryKind::File;
}
