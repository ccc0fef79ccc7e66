// A lab: a folder that stands in for this computer, the servers it reaches and their drives.
#include "platform/lab/lab.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include "common/text_encoding.h"
#include "platform/lab/lab_files.h"
#include "platform/lab/lab_machine.h"
#include "platform/lab/lab_registry.h"
#include "platform/lab/lab_services.h"
#include "platform/lab/path_text.h"
#include "platform/lab/reg_file.h"

namespace fs = std::filesystem;

namespace {

bool ReadBytes(const fs::path& file, std::string* bytes) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

// lab.conf: "key = value" lines and '#' comments.
bool ReadLabConf(const fs::path& file, std::wstring* computerName, std::string* error) {
  std::string bytes;
  if (!ReadBytes(file, &bytes)) {
    *error = file.string() + ": cannot be read (every lab needs a lab.conf naming its computer)";
    return false;
  }
  int lineNumber = 0;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    const std::string line = Trim(bytes.substr(start, end - start));
    start = end + 1;
    ++lineNumber;
    if (line.empty() || line[0] == '#') continue;
    const auto equals = line.find('=');
    const std::string key = equals == std::string::npos ? line : Trim(line.substr(0, equals));
    if (equals == std::string::npos || key != "computer-name") {
      *error = file.string() + ":" + std::to_string(lineNumber) + ": expected \"computer-name = NAME\"";
      return false;
    }
    *computerName = WideFromUtf8(Trim(line.substr(equals + 1)));
  }
  if (computerName->empty()) {
    *error = file.string() + ": no computer-name";
    return false;
  }
  return true;
}

// Every .reg file under the server's folder, in name order, so that later exports win.
std::vector<fs::path> RegFilesOf(const fs::path& serverFolder) {
  std::vector<fs::path> files;
  std::error_code error;
  for (fs::recursive_directory_iterator it(serverFolder, error), end; !error && it != end; it.increment(error)) {
    if (it->is_regular_file(error) && it->path().extension() == ".reg") files.push_back(it->path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

Lab::Lab(fs::path folder) : folder_(std::move(folder)) {}
Lab::~Lab() = default;

std::unique_ptr<Lab> Lab::Load(const fs::path& folder, std::string* error) {
  std::wstring computerName;
  if (!ReadLabConf(folder / "lab.conf", &computerName, error)) return nullptr;

  std::unique_ptr<Lab> lab(new Lab(folder));
  lab->machine_ = std::make_unique<LabMachine>(computerName);
  lab->registry_ = std::make_unique<LabRegistry>(computerName);
  lab->services_ = std::make_unique<LabServiceControl>();
  lab->files_ = std::make_unique<LabFileSystem>(folder / "drives");
  lab->services_->AddServer(computerName);

  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder / "servers", ec)) {
    if (!entry.is_directory(ec)) continue;
    const std::wstring server = WideFromPath(entry.path().filename());
    lab->services_->AddServer(server);
    RegistryKeyNode& root = lab->registry_->ServerRoot(server);
    for (const auto& regFile : RegFilesOf(entry.path())) {
      std::string bytes;
      RegFileError regError;
      if (!ReadBytes(regFile, &bytes)) {
        *error = regFile.string() + ": cannot be read";
        return nullptr;
      }
      if (!ReadRegFile(bytes, root, &regError)) {
        *error = regFile.string() + ":" + std::to_string(regError.line) + ": " + regError.reason;
        return nullptr;
      }
    }
  }
  return lab;
}

Platform Lab::MakePlatform(OwnerlessMessageBox& ownerlessBox) {
  return Platform{*registry_, *services_, *files_, *machine_, ownerlessBox};
}
