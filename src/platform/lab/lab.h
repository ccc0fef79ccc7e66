// A lab: a folder that stands in for this computer, the servers it reaches and their drives.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/platform.h"

class LabRegistry;
class LabServiceControl;
class LabFileSystem;
class LabMachine;
class LabProcesses;
class LabNetwork;
struct LabServerFaults;

// Owns the lab's simulated registry, services, drives and computer name, loaded from its folder.
class Lab {
 public:
  ~Lab();
  Lab(const Lab&) = delete;
  Lab& operator=(const Lab&) = delete;

  // Loads the lab in `folder` (docs/lab.md). On a malformed file returns null and says
  // in `error` which file and line, and why.
  static std::unique_ptr<Lab> Load(const std::filesystem::path& folder, std::string* error);

  // The lab's parts as the program's platform.
  Platform MakePlatform();

  const std::filesystem::path& Folder() const { return folder_; }
  // Where lab runs keep their install log: inside the lab.
  std::filesystem::path InstallLogFile() const { return folder_ / "install.log"; }

  LabRegistry& Registry() { return *registry_; }
  LabServiceControl& Services() { return *services_; }
  LabFileSystem& Files() { return *files_; }
  LabMachine& MachineInfo() { return *machine_; }
  LabProcesses& Processes() { return *processes_; }
  LabNetwork& Wires() { return *network_; }
  // From now on a lost echo's time-out and an answer's round trip move the lab's clock on instead of
  // passing in real time: for runs that check what the probes find, not how long they take (tests,
  // the scenario runner). By default they take their real time, as on a network.
  void WaitEchoesOnLabClock();
  // Where what the lab's started processes print goes, as their minimised console would show it.
  std::filesystem::path ConsoleLogFile() const { return folder_ / "console.log"; }

  // Makes `server` show these faults from now on, in its registry, its service manager and its
  // wires alike (what its faults.conf sets at load).
  void SetFaults(const std::wstring& server, const LabServerFaults& faults);
  // Registry and service calls that went over the network, and handles of both still open.
  std::uint64_t RemoteCallCount() const;
  std::size_t OpenHandleCount() const;

 private:
  explicit Lab(std::filesystem::path folder);

  std::filesystem::path folder_;
  std::unique_ptr<LabRegistry> registry_;
  std::unique_ptr<LabServiceControl> services_;
  std::unique_ptr<LabFileSystem> files_;
  std::unique_ptr<LabMachine> machine_;
  std::unique_ptr<LabProcesses> processes_;
  std::unique_ptr<LabNetwork> network_;
};
