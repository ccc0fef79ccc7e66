// A lab entry's kind on POSIX: its own status, never its target's.
#include "platform/lab/lab_entry_kind.h"

#include <system_error>

LabEntryKind KindOfLabEntry(const std::filesystem::path& entry) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::symlink_status(entry, error);
  if (error) return LabEntryKind::Other;
  if (std::filesystem::is_symlink(status)) return LabEntryKind::Link;
  if (std::filesystem::is_directory(status)) return LabEntryKind::Folder;
  if (std::filesystem::is_regular_file(status)) return LabEntryKind::File;
  return LabEntryKind::Other;
}
