// A lab folder is data: files and folders only.
#include "platform/lab/lab_folder.h"

#include <functional>
#include <system_error>

#include "platform/lab/lab_entry_kind.h"

namespace fs = std::filesystem;

namespace {

std::string Refusal(const fs::path& entry, LabEntryKind kind) {
  const std::string what =
      kind == LabEntryKind::Link ? "is a symbolic link or a junction" : "is neither a file nor a folder";
  // UTF-8 on every system: a name beyond ASCII can't always be given in the narrow code page.
  const std::u8string name = entry.u8string();
  return std::string(name.begin(), name.end()) + " " + what + ": a lab holds files and folders only, so it is refused";
}

// Calls `visit` for every entry below `folder`, parents before their contents, and never descends
// through a link; stops at the first entry that is not a file or a folder, or that `visit` refuses.
// A folder that can't be read counts only when `readsMustSucceed` (a copy must be whole; a lab
// that can't be read says so when its files are read).
bool VisitLabEntries(const fs::path& folder, bool readsMustSucceed, std::string* error,
                     const std::function<bool(const fs::path&, LabEntryKind)>& visit) {
  std::error_code ec;
  fs::recursive_directory_iterator it(folder, fs::directory_options::none, ec);
  for (const fs::recursive_directory_iterator end; !ec && it != end; it.increment(ec)) {
    const LabEntryKind kind = KindOfLabEntry(it->path());
    if (kind == LabEntryKind::Link || kind == LabEntryKind::Other) {
      *error = Refusal(it->path(), kind);
      return false;
    }
    if (!visit(it->path(), kind)) return false;
  }
  if (ec && readsMustSucceed) {
    *error = "cannot read " + folder.string() + ": " + ec.message();
    return false;
  }
  return true;
}

}  // namespace

std::string LabFolderRefusal(const fs::path& folder) {
  std::string error;
  VisitLabEntries(folder, false, &error, [](const fs::path&, LabEntryKind) { return true; });
  return error;
}

bool CopyLabFolder(const fs::path& from, const fs::path& to, std::string* error) {
  std::error_code ec;
  if (KindOfLabEntry(from) != LabEntryKind::Folder && !fs::is_directory(from, ec)) {
    *error = from.string() + " is not a folder";
    return false;
  }
  if (!fs::create_directory(to, ec) || ec) {
    *error = "cannot make the folder " + to.string() + (ec ? ": " + ec.message() : ": it is there already");
    return false;
  }
  return VisitLabEntries(from, true, error, [&](const fs::path& entry, LabEntryKind kind) {
    const fs::path target = to / entry.lexically_relative(from);
    if (kind == LabEntryKind::Folder) {
      fs::create_directory(target, ec);
    } else {
      fs::copy_file(entry, target, fs::copy_options::none, ec);
    }
    if (ec) *error = "cannot copy " + entry.string() + " to " + target.string() + ": " + ec.message();
    return !ec;
  });
}
