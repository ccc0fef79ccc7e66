// How a path of the system's files is named to a person: in a run on a lab, with where the lab keeps it.
#include "wizard/shown_path.h"

#include "common/text_format.h"
#include "platform/files.h"

std::wstring ShownPath(FileSystem& files, const std::wstring& path) {
  // A person on the lab's host can open the host's path only; the Windows path is what the log and a real server say.
  const std::wstring host = path.empty() ? std::wstring() : files.HostPathOf(path);
  return host.empty() ? path : FormatText(L"%s (in the lab: %s)", {path, host});
}
