// Which lab a run of the lab edition uses, shared by the program, its screenshot tool and its benchmark.
#include "wizard/qt/lab_startup.h"

#include "platform/executable_folder.h"
#include "platform/lab/lab.h"
#include "platform/lab/lab_location.h"

namespace fs = std::filesystem;

std::unique_ptr<Lab> LoadRunLab(std::string* error) {
  fs::path folder = NamedLabFolder();
  if (folder.empty()) {
    folder = PrepareDemoLabCopy(BundledDemoLab(ExecutableFolder()), error);
    if (folder.empty()) return nullptr;
  }
  return Lab::Load(folder, error);
}
