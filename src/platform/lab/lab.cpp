// A lab: a folder that stands in for this computer, the servers it reaches and their drives.
#include "platform/lab/lab.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include "common/text_encoding.h"
#include "platform/lab/lab_faults.h"
#include "platform/lab/lab_files.h"
#include "platform/lab/lab_folder.h"
#include "platform/lab/lab_machine.h"
#include "platform/lab/lab_network.h"
#include "platform/lab/lab_processes.h"
#include "platform/lab/lab_registry.h"
#include "platform/lab/lab_services.h"
#include "common/path_text.h"
#include "platform/lab/reg_file.h"
#include "platform/lab/service_list.h"

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

// `cable = node-a HB1 - node-b HB2`, checked once the servers are loaded.
struct LabCable {
  std::wstring serverA, linkA, serverB, linkB;
  std::string where;  // "lab.conf:7: "
};

struct LabHost {
  std::wstring address;
  std::wstring segment;
};

struct LabConf {
  std::wstring computerName;
  std::vector<LabCable> cables;
  std::vector<LabHost> hosts;
  std::wstring fullDrives;                // drive letters
  std::vector<std::wstring> deniedFiles;  // Windows paths
  Status startError = status::Success;
  std::uint32_t processDelayMs = 0;
  LabInstallerFaults installer;
};

// A whole number that fits 32 bits, as Win32 codes and millisecond counts do.
bool ReadNumber32(const std::string& value, std::uint32_t* number) {
  if (value.empty() || value.size() > 10) return false;
  std::uint64_t result = 0;
  for (const char c : value) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    result = result * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (result > 0xFFFFFFFFu) return false;
  *number = static_cast<std::uint32_t>(result);
  return true;
}

// "yes" or "no".
bool ReadYesNo(const std::string& value, bool* yes) {
  if (value != "yes" && value != "no") return false;
  *yes = value == "yes";
  return true;
}

// "D E" or "D, E": the drive letters of a disk-full line.
bool ReadDriveLetters(const std::string& value, std::wstring* letters) {
  for (const char c : value) {
    if (c == ' ' || c == ',' || c == '\t' || c == ':') continue;
    if (!std::isalpha(static_cast<unsigned char>(c))) return false;
    letters->push_back(static_cast<wchar_t>(std::toupper(static_cast<unsigned char>(c))));
  }
  return !letters->empty();
}

// "node-a HB1": a server name, then a connection name (which may hold blanks).
bool ReadCableEnd(const std::string& text, std::wstring* server, std::wstring* link) {
  const std::string trimmed = Trim(text);
  const auto blank = trimmed.find_first_of(" \t");
  if (blank == std::string::npos) return false;
  *server = WideFromUtf8(trimmed.substr(0, blank));
  *link = WideFromUtf8(Trim(trimmed.substr(blank + 1)));
  return !server->empty() && !link->empty();
}

bool ReadCable(const std::string& value, LabCable* cable) {
  const auto dash = value.find(" - ");
  return dash != std::string::npos && ReadCableEnd(value.substr(0, dash), &cable->serverA, &cable->linkA) &&
         ReadCableEnd(value.substr(dash + 3), &cable->serverB, &cable->linkB);
}

// "10.2.2.250 ELAN": an address, then the segment (a connection name) it answers on.
bool ReadHost(const std::string& value, LabHost* host) {
  const auto blank = value.find_first_of(" \t");
  if (blank == std::string::npos) return false;
  const std::string address = value.substr(0, blank);
  int dots = 0;
  for (const char c : address) {
    if (c == '.') ++dots;
    if (c != '.' && !std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  host->address = WideFromUtf8(address);
  host->segment = WideFromUtf8(Trim(value.substr(blank + 1)));
  return dots == 3 && !host->segment.empty();
}

// lab.conf: "key = value" lines and '#' comments.
bool ReadLabConf(const fs::path& file, LabConf* conf, std::string* error) {
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
    const std::string value = equals == std::string::npos ? std::string() : Trim(line.substr(equals + 1));
    const std::string where = file.string() + ":" + std::to_string(lineNumber) + ": ";
    if (equals != std::string::npos && key == "computer-name") {
      conf->computerName = WideFromUtf8(value);
    } else if (equals != std::string::npos && key == "disk-full") {
      if (!ReadDriveLetters(value, &conf->fullDrives)) {
        *error = where + "disk-full takes drive letters, as in \"disk-full = D\"";
        return false;
      }
    } else if (equals != std::string::npos && key == "deny-file") {
      if (value.size() < 3 || value[1] != ':') {
        *error = where + "deny-file takes a Windows path, as in \"deny-file = D:\\folder\\file.dat\"";
        return false;
      }
      conf->deniedFiles.push_back(WideFromUtf8(value));
    } else if (equals != std::string::npos && key == "start-error") {
      if (!ReadNumber32(value, &conf->startError)) {
        *error = where + "start-error takes a Win32 error code, as in \"start-error = 2\"";
        return false;
      }
    } else if (equals != std::string::npos && key == "process-delay-ms") {
      if (!ReadNumber32(value, &conf->processDelayMs)) {
        *error = where + "process-delay-ms takes whole milliseconds, as in \"process-delay-ms = 600000\"";
        return false;
      }
    } else if (equals != std::string::npos && key == "installer-exit-code") {
      std::uint32_t code = 0;
      if (!ReadNumber32(value, &code)) {
        *error = where + "installer-exit-code takes a whole number, as in \"installer-exit-code = 1\"";
        return false;
      }
      conf->installer.exitCode = static_cast<int>(code);
    } else if (equals != std::string::npos && key == "installer-definition") {
      if (!ReadYesNo(value, &conf->installer.writesDefinition)) {
        *error = where + "installer-definition takes yes or no";
        return false;
      }
    } else if (equals != std::string::npos && key == "installer-hang") {
      if (!ReadYesNo(value, &conf->installer.hangs)) {
        *error = where + "installer-hang takes yes or no";
        return false;
      }
    } else if (equals != std::string::npos && key == "cable") {
      LabCable cable;
      if (!ReadCable(value, &cable)) {
        *error = where + "cable takes two adapters joined by \" - \", as in \"cable = node-a HB1 - node-b HB2\"";
        return false;
      }
      cable.where = where;
      conf->cables.push_back(std::move(cable));
    } else if (equals != std::string::npos && key == "host") {
      LabHost host;
      if (!ReadHost(value, &host)) {
        *error = where + "host takes an address and the link it answers on, as in \"host = 10.2.2.250 ELAN\"";
        return false;
      }
      conf->hosts.push_back(std::move(host));
    } else {
      *error = where +
               "expected \"computer-name = NAME\", \"disk-full = D\", \"deny-file = D:\\path\", "
               "\"start-error = CODE\", \"process-delay-ms = MILLISECONDS\", an installer-... key, \"cable = "
               "SERVER LINK - SERVER LINK\" or \"host = ADDRESS LINK\"";
      return false;
    }
  }
  if (conf->computerName.empty()) {
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

std::string AtLine(const fs::path& file, int line, const std::string& reason) {
  return file.string() + ":" + std::to_string(line) + ": " + reason;
}

bool LoadRegistry(const fs::path& serverFolder, RegistryKeyNode& root, std::string* error) {
  for (const auto& regFile : RegFilesOf(serverFolder)) {
    std::string bytes;
    if (!ReadBytes(regFile, &bytes)) {
      *error = regFile.string() + ": cannot be read";
      return false;
    }
    RegFileError regError;
    if (!ReadRegFile(bytes, root, &regError)) {
      *error = AtLine(regFile, regError.line, regError.reason);
      return false;
    }
  }
  return true;
}

// A server's optional file: absent is fine, present but unreadable is not.
bool ReadIfPresent(const fs::path& file, std::string* bytes, std::string* error) {
  std::error_code ec;
  if (!fs::exists(file, ec)) return true;
  if (ReadBytes(file, bytes)) return true;
  *error = file.string() + ": cannot be read";
  return false;
}

// Without services.txt the server's manager answers, but knows no service.
bool LoadServices(const fs::path& serverFolder, const std::wstring& server, LabServiceControl& services,
                  std::string* error) {
  const fs::path file = serverFolder / "services.txt";
  std::string bytes;
  if (!ReadIfPresent(file, &bytes, error)) return false;
  std::vector<LabService> list;
  ServiceListError listError;
  if (!ReadServiceList(bytes, &list, &listError)) {
    *error = AtLine(file, listError.line, listError.reason);
    return false;
  }
  for (const LabService& service : list) services.AddService(server, service.name, {service.state});
  return true;
}

bool LoadFaults(const fs::path& serverFolder, const std::wstring& server, Lab& lab, std::string* error) {
  const fs::path file = serverFolder / "faults.conf";
  std::string bytes;
  if (!ReadIfPresent(file, &bytes, error)) return false;
  LabServerFaults faults;
  LabFaultsError faultsError;
  if (!ReadServerFaults(bytes, &faults, &faultsError)) {
    *error = AtLine(file, faultsError.line, faultsError.reason);
    return false;
  }
  lab.SetFaults(server, faults);
  return true;
}

}  // namespace

Lab::Lab(fs::path folder) : folder_(std::move(folder)) {}
Lab::~Lab() = default;

std::unique_ptr<Lab> Lab::Load(const fs::path& folder, std::string* error) {
  // A lab is data: a link inside it would lead the lab's reads and writes out of it.
  if (std::string refusal = LabFolderRefusal(folder); !refusal.empty()) {
    *error = std::move(refusal);
    return nullptr;
  }
  LabConf conf;
  if (!ReadLabConf(folder / "lab.conf", &conf, error)) return nullptr;
  const std::wstring& computerName = conf.computerName;

  std::unique_ptr<Lab> lab(new Lab(folder));
  // One clock for the lab: its machine tells it, and waits for its processes move it on.
  const auto clock = std::make_shared<LabClock>();
  std::error_code absoluteError;
  const fs::path absolute = fs::absolute(folder, absoluteError);
  lab->machine_ = std::make_unique<LabMachine>(computerName, clock, WideFromPath(absoluteError ? folder : absolute));
  lab->registry_ = std::make_unique<LabRegistry>(computerName);
  lab->services_ = std::make_unique<LabServiceControl>();
  lab->files_ = std::make_unique<LabFileSystem>(folder / "drives");
  lab->processes_ = std::make_unique<LabProcesses>(*lab->files_, lab->ConsoleLogFile(), clock);
  lab->services_->AddServer(computerName);
  for (const wchar_t letter : conf.fullDrives) lab->files_->SetDiskFull(letter, true);
  for (const std::wstring& path : conf.deniedFiles) lab->files_->DenyFileAccess(path);
  lab->processes_->SetStartError(conf.startError);
  lab->processes_->SetExtraRunTime(conf.processDelayMs);
  lab->processes_->SetInstallerFaults(conf.installer);
  lab->network_ = std::make_unique<LabNetwork>(computerName);
  for (const LabHost& host : conf.hosts) lab->network_->AddHost(host.address, host.segment);

  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder / "servers", ec)) {
    if (!entry.is_directory(ec)) continue;
    const std::wstring server = WideFromPath(entry.path().filename());
    lab->services_->AddServer(server);
    if (!LoadRegistry(entry.path(), lab->registry_->ServerRoot(server), error) ||
        !LoadServices(entry.path(), server, *lab->services_, error) || !LoadFaults(entry.path(), server, *lab, error)) {
      return nullptr;
    }
    lab->network_->AddServerAdapters(server, lab->registry_->ServerRoot(server));
  }
  for (const LabCable& cable : conf.cables) {
    if (!lab->network_->Plug(cable.serverA, cable.linkA, cable.serverB, cable.linkB)) {
      *error = cable.where + "cable names an adapter no server of the lab has (a server folder and a connection name)";
      return nullptr;
    }
  }
  return lab;
}

void Lab::SetFaults(const std::wstring& server, const LabServerFaults& faults) {
  registry_->SetFaults(server, faults);
  services_->SetFaults(server, faults);
  network_->SetFaults(server, faults);
}

void Lab::WaitEchoesOnLabClock() {
  network_->SetWait([machine = machine_.get()](std::uint32_t milliseconds) { machine->Sleep(milliseconds); });
}

std::uint64_t Lab::RemoteCallCount() const { return registry_->RemoteCallCount() + services_->RemoteCallCount(); }

std::size_t Lab::OpenHandleCount() const { return registry_->OpenHandleCount() + services_->OpenHandleCount(); }

Platform Lab::MakePlatform() { return Platform{*registry_, *services_, *files_, *machine_, *processes_, *network_}; }
