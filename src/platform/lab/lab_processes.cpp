// The lab's processes.
#include "platform/lab/lab_processes.h"

#include <chrono>

#include "platform/lab/lab_files.h"

LabProcesses::LabProcesses(LabFileSystem& files, std::filesystem::path consoleLog)
    : files_(files), consoleLog_(std::move(consoleLog)) {}

LabProcesses::~LabProcesses() = default;

Status LabProcesses::Start(const std::wstring& /*commandLine*/, const std::wstring& /*currentDirectory*/,
                           std::unique_ptr<StartedProcess>* /*process*/) {
  if (startError_ != 0) return startError_;
  return status::FileNotFound;
}

std::uint64_t LabProcesses::NowMilliseconds() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count()) +
         clockAdvance_;
}
