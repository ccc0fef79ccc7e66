// The lab's processes.
#include "platform/lab/lab_processes.h"

#include <chrono>
#include <condition_variable>
#include <fstream>
#include <mutex>
#include <thread>

#include "common/text_case.h"
#include "common/text_encoding.h"
#include "platform/lab/cmd_line.h"
#include "platform/lab/lab_clock.h"
#include "platform/lab/lab_files.h"
#include "platform/lab/lab_spawn.h"

namespace fs = std::filesystem;
using SteadyClock = std::chrono::steady_clock;

// Told by whoever collects a process's end (its collecting thread, or the start itself when cmd
// ended at once) to whoever waits for it.
struct LabProcessEnd {
  std::mutex mutex;
  std::condition_variable changed;
  bool ended = false;
  int exitCode = 0;
  std::uint64_t labEndTime = 0;

  void Record(int code, std::uint64_t labTime) {
    {
      std::lock_guard<std::mutex> lock(mutex);
      ended = true;
      exitCode = code;
      labEndTime = labTime;
    }
    changed.notify_all();
  }
  bool HasEnded() {
    std::lock_guard<std::mutex> lock(mutex);
    return ended;
  }
};

namespace {

constexpr std::uint32_t kInfinite = 0xFFFFFFFF;  // INFINITE: a wait without a bound
// cmd's exit codes: when it finds no program of the name, and after any other failure of its own.
constexpr int kNotRecognizedExitCode = 9009;
constexpr int kFailedExitCode = 1;
// The program extensions of Windows' PATHEXT, in its order; those of script hosts (.VBS, .JS ...)
// name nothing the lab could run.
const wchar_t* const kPathExt[] = {L".COM", L".EXE", L".BAT", L".CMD"};

class LabStartedProcess : public StartedProcess {
 public:
  LabStartedProcess(std::shared_ptr<LabProcessEnd> end, std::shared_ptr<LabClock> clock, std::thread collector)
      : end_(std::move(end)), clock_(std::move(clock)), collector_(std::move(collector)) {}
  // Letting go before the end leaves the collecting thread to reap the process on its own; it
  // holds what it needs, so it may outlive this and the lab alike.
  ~LabStartedProcess() override {
    if (!collector_.joinable()) return;
    if (end_->HasEnded()) {
      collector_.join();
    } else {
      collector_.detach();
    }
  }
  LabStartedProcess(const LabStartedProcess&) = delete;
  LabStartedProcess& operator=(const LabStartedProcess&) = delete;

  // Real time while the real process runs; once it has ended, the rest of the lab's run time
  // passes on the lab's clock, at once, as far as this wait reaches.
  bool WaitForEnd(std::uint32_t milliseconds) override {
    const auto waitStart = SteadyClock::now();
    std::uint64_t labEndTime = 0;
    {
      std::unique_lock<std::mutex> lock(end_->mutex);
      const auto ended = [this] { return end_->ended; };
      if (milliseconds == kInfinite) {
        end_->changed.wait(lock, ended);
      } else if (!end_->changed.wait_for(lock, std::chrono::milliseconds(milliseconds), ended)) {
        return false;
      }
      labEndTime = end_->labEndTime;
    }
    const std::uint64_t now = clock_->Now();
    if (labEndTime <= now) return true;
    if (milliseconds == kInfinite) {
      clock_->Advance(labEndTime - now);
      return true;
    }
    const auto waited = static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - waitStart).count());
    const std::uint64_t rest = milliseconds > waited ? milliseconds - waited : 0;
    if (labEndTime - now <= rest) {
      clock_->Advance(labEndTime - now);
      return true;
    }
    clock_->Advance(rest);
    return false;
  }

 private:
  std::shared_ptr<LabProcessEnd> end_;
  std::shared_ptr<LabClock> clock_;
  std::thread collector_;
};

// A path of the command as cmd opens it: from the current directory unless it names a drive,
// from the current drive's root when it starts with a backslash.
std::wstring FullWindowsPath(const std::wstring& path, const std::wstring& currentDirectory) {
  if (path.size() >= 2 && path[1] == L':') return path;
  if (!path.empty() && (path[0] == L'\\' || path[0] == L'/')) return currentDirectory.substr(0, 2) + path;
  std::wstring full = currentDirectory;
  if (!full.empty() && full.back() != L'\\') full += L'\\';
  return full + path;
}

bool HasPathExtExtension(const std::wstring& path) {
  const std::size_t nameStart = path.find_last_of(L"\\/:");
  const std::size_t dot = path.rfind(L'.');
  if (dot == std::wstring::npos || (nameStart != std::wstring::npos && dot < nameStart)) return false;
  const std::wstring extension = path.substr(dot);
  for (const wchar_t* known : kPathExt) {
    if (EqualsIgnoringAsciiCase(extension, known)) return true;
  }
  return false;
}

// The text Windows gives for the codes a start inside cmd can meet.
std::string CmdMessage(Status code) {
  switch (code) {
    case status::FileNotFound: return "The system cannot find the file specified.";
    case status::PathNotFound: return "The system cannot find the path specified.";
    case status::AccessDenied: return "Access is denied.";
    case status::NotEnoughMemory: return "Not enough memory resources are available to process this command.";
    case status::NotSupported: return "The request is not supported.";
    default: return "Error " + std::to_string(code) + ".";
  }
}

}  // namespace

LabProcesses::LabProcesses(LabFileSystem& files, fs::path consoleLog, std::shared_ptr<LabClock> clock)
    : files_(files), consoleLog_(std::move(consoleLog)), clock_(std::move(clock)) {}

LabProcesses::~LabProcesses() = default;

fs::path LabProcesses::FindProgram(const std::wstring& word, const std::wstring& currentDirectory) const {
  // A bare name is looked for in the current directory only: the lab has no PATH of Windows.
  const std::wstring path = FullWindowsPath(word, currentDirectory);
  std::vector<std::wstring> candidates;
  if (HasPathExtExtension(path)) candidates.push_back(path);
  for (const wchar_t* extension : kPathExt) candidates.push_back(path + extension);
  for (const std::wstring& candidate : candidates) {
    const fs::path host = files_.HostPath(candidate);
    std::error_code error;
    if (!host.empty() && fs::is_regular_file(host, error)) return host;
  }
  return {};
}

std::shared_ptr<LabProcessEnd> LabProcesses::NewProcessEnd() {
  ends_.push_back(std::make_shared<LabProcessEnd>());
  return ends_.back();
}

Status LabProcesses::EndedAtOnce(const std::string& message, int exitCode, std::unique_ptr<StartedProcess>* process) {
  if (!message.empty()) {
    std::ofstream console(consoleLog_, std::ios::binary | std::ios::app);
    console << message << "\r\n";
  }
  auto end = NewProcessEnd();
  end->Record(exitCode, clock_->Now() + extraRunTime_);
  *process = std::make_unique<LabStartedProcess>(std::move(end), clock_, std::thread());
  return status::Success;
}

Status LabProcesses::Start(const std::wstring& commandLine, const std::wstring& currentDirectory,
                           std::unique_ptr<StartedProcess>* process) {
  // As CreateProcessW's caller sees it: a failed start leaves nothing held.
  process->reset();
  lastCommandLine_ = commandLine;
  if (startError_ != status::Success) return startError_;
  const fs::path workingFolder = files_.HostPath(currentDirectory);
  std::error_code error;
  if (workingFolder.empty() || !fs::is_directory(workingFolder, error)) return status::Directory;
  const CmdLineReading reading =
      ReadCmdLine(commandLine, [&](const std::wstring& text) { return !FindProgram(text, currentDirectory).empty(); });
  if (reading.kind == CmdLineKind::NotCmd) return status::FileNotFound;

  // cmd itself runs from here on: whatever its command lacks, cmd tells on its console and ends.
  ++startedCount_;
  if (reading.kind == CmdLineKind::Refused) return EndedAtOnce(reading.message, kFailedExitCode, process);
  const CmdCommand& command = reading.command;
  if (command.program.empty()) return EndedAtOnce("", 0, process);

  LabProgramRun run;
  // cmd opens the input before it looks for the program: a missing input runs nothing.
  if (command.hasStandardInput) {
    const std::wstring input = FullWindowsPath(command.standardInput, currentDirectory);
    if (const Status rc = files_.CheckReadable(input); rc != status::Success) {
      return EndedAtOnce(CmdMessage(rc), kFailedExitCode, process);
    }
    run.standardInput = files_.HostPath(input);
  }
  run.program = FindProgram(command.program, currentDirectory);
  if (run.program.empty()) {
    std::string message = Utf8FromWide(command.program);
    message.insert(message.begin(), '\'');
    message += "' is not recognized as an internal or external command,\r\noperable program or batch file.";
    return EndedAtOnce(message, kNotRecognizedExitCode, process);
  }
  for (const std::wstring& argument : command.arguments) run.arguments.push_back(Utf8FromWide(argument));
  run.workingFolder = workingFolder;
  run.consoleLog = consoleLog_;

  const std::uint64_t labStart = clock_->Now();
  const auto realStart = SteadyClock::now();
  std::unique_ptr<LabRunningProgram> running;
  if (const Status rc = StartLabProgram(run, &running); rc != status::Success) {
    return EndedAtOnce(CmdMessage(rc), kFailedExitCode, process);
  }
  auto end = NewProcessEnd();
  // The process's lab time runs from its start for as long as it ran for real, then the extra.
  std::thread collector([end, realStart, labEnd = labStart + extraRunTime_, program = std::move(running)] {
    const int exitCode = program->WaitForExit();
    const auto ran = std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - realStart).count();
    end->Record(exitCode, labEnd + static_cast<std::uint64_t>(ran));
  });
  *process = std::make_unique<LabStartedProcess>(std::move(end), clock_, std::move(collector));
  return status::Success;
}

std::optional<int> LabProcesses::LastExitCode() const {
  if (ends_.empty()) return std::nullopt;
  LabProcessEnd& end = *ends_.back();
  std::lock_guard<std::mutex> lock(end.mutex);
  if (!end.ended) return std::nullopt;
  return end.exitCode;
}

bool LabProcesses::WaitForEveryEnd(std::uint32_t milliseconds) const {
  const auto deadline = SteadyClock::now() + std::chrono::milliseconds(milliseconds);
  for (const auto& end : ends_) {
    std::unique_lock<std::mutex> lock(end->mutex);
    if (!end->changed.wait_until(lock, deadline, [&] { return end->ended; })) return false;
  }
  return true;
}
