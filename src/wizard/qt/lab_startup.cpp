// Which lab a run of the lab edition uses, shared by the program, its screenshot tool and its benchmark.
#include "wizard/qt/lab_startup.h"

#include <system_error>

#include "platform/lab/lab.h"
#include "platform/lab/lab_location.h"

namespace fs = std::filesystem;

fs::path ExecutableFolder() {
  std::error_code error;
  const fs::path executable = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::current_path(error) : executable.parent_path();
}

std::unique_ptr<Lab> LoadRunLab(std::string* error) {
  fs::path folder = NamedLabFolder();
  if (folder.empty()) {
    folder = PrepareDemoLabCopy(ExecutableFolder() / "demo-lab", error);
    if (folder.empty()) return nullptr;
  }
  return Lab::Load(folder, error);
}
