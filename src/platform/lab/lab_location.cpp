// Which lab a run uses: the one DUPLEX_SETUP_LAB names, or a per-user copy of the bundled demo lab.
#include "platform/lab/lab_location.h"

#include <cstdlib>
#include <system_error>

#include "platform/lab/lab_folder.h"
#include "platform/lab/lab_new_file.h"

namespace fs = std::filesystem;

fs::path NamedLabFolder() {
  const char* named = std::getenv(kLabVariable);
  return named != nullptr && *named != '\0' ? fs::path(named) : fs::path();
}

fs::path BundledDemoLab(const fs::path& programFolder) {
  std::error_code ec;
  const fs::path besideProgram = programFolder / "demo-lab";
  if (fs::exists(besideProgram / "lab.conf", ec)) return besideProgram;
  return (programFolder / DUPLEX_INSTALLED_LABS_FROM_PROGRAM / "demo").lexically_normal();
}

fs::path PrepareDemoLabCopy(const fs::path& bundledDemo, std::string* error) {
  fs::path state;
  if (const char* xdg = std::getenv("XDG_STATE_HOME"); xdg != nullptr && *xdg != '\0') {
    state = xdg;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    state = fs::path(home) / ".local" / "state";
  } else if (const char* profile = std::getenv("LOCALAPPDATA"); profile != nullptr && *profile != '\0') {
    state = profile;
  } else {
    state = fs::temp_directory_path();
  }
  const fs::path copy = state / "duplex-setup" / "demo-lab";
  std::error_code ec;
  if (fs::exists(copy / "lab.conf", ec)) return copy;
  // Made whole beside its place, then renamed into it: a copy cut short never passes for a lab.
  fs::path partial = copy;
  partial += ".partial-" + std::to_string(LabProcessId());
  fs::remove_all(partial, ec);
  fs::create_directories(copy.parent_path(), ec);
  std::string copyError;
  if (!CopyLabFolder(bundledDemo, partial, &copyError)) {
    fs::remove_all(partial, ec);
    *error = "cannot copy the demo lab to " + copy.string() + ": " + copyError;
    return {};
  }
  fs::rename(partial, copy, ec);
  if (ec) {
    fs::remove_all(partial, ec);
    *error = "cannot put the demo lab in place at " + copy.string() + ": " + ec.message();
    return {};
  }
  return copy;
}
