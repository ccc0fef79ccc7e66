// The lab's processes.
#include "platform/lab/lab_processes.h"

#include <fstream>

#include "common/text_encoding.h"
#include "platform/lab/cmd_line.h"
#include "platform/lab/lab_clock.h"
#include "platform/lab/lab_files.h"

namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kInfinite = 0xFFFFFFFF;  // INFINITE: a wait without a bound
// cmd's exit codes: when it finds no program of the name, and after any other failure of its own.
constexpr int kNotRecognizedExitCode = 9009;
constexpr int kFailedExitCode = 1;

// A process the lab played at its start: it has done all it does, and ends when the lab's clock
// reaches its end (never, when it hangs).
class LabStartedProcess : public StartedProcess {
 public:
  LabStartedProcess(std::shared_ptr<LabClock> clock, std::optional<std::uint64_t> labEndTime)
      : clock_(std::move(clock)), labEndTime_(labEndTime) {}

  // Costs no real time: the wait moves the lab's clock on, to the process's end when that is
  // within `milliseconds`, otherwise by `milliseconds`. A hung process is never seen to end, even
  // by a wait without a bound (which on Windows would never return).
  bool WaitForEnd(std::uint32_t milliseconds) override {
    const std::uint64_t now = clock_->Now();
    if (!labEndTime_) {
      if (milliseconds != kInfinite) clock_->Advance(milliseconds);
      return false;
    }
    if (*labEndTime_ <= now) return true;
    if (milliseconds == kInfinite || *labEndTime_ - now <= milliseconds) {
      clock_->Advance(*labEndTime_ - now);
      return true;
    }
    clock_->Advance(milliseconds);
    return false;
  }

 private:
  std::shared_ptr<LabClock> clock_;
  std::optional<std::uint64_t> labEndTime_;
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

// The folder part of a Windows path: everything before its last backslash.
std::wstring ParentOf(const std::wstring& path) {
  const std::size_t last = path.find_last_of(L"\\/");
  return last == std::wstring::npos ? std::wstring() : path.substr(0, last);
}

// The text Windows gives for the codes a start inside cmd can meet.
std::string CmdMessage(Status code) {
  switch (code) {
    case status::FileNotFound: return "The system cannot find the file specified.";
    case status::PathNotFound: return "The system cannot find the path specified.";
    case status::AccessDenied: return "Access is denied.";
    default: return "Error " + std::to_string(code) + ".";
  }
}

// The reason Perl's "$!" gives for a file it could not write.
std::string PerlWriteError(Status code) {
  switch (code) {
    case status::DiskFull: return "No space left on device";
    case status::AccessDenied: return "Permission denied";
    case status::PathNotFound: return "No such file or directory";
    default: return "Input/output error";
  }
}

}  // namespace

LabProcesses::LabProcesses(LabFileSystem& files, fs::path consoleLog, std::shared_ptr<LabClock> clock)
    : files_(files), consoleLog_(std::move(consoleLog)), clock_(std::move(clock)) {}

LabProcesses::~LabProcesses() = default;

Status LabProcesses::Started(const std::string& console, std::optional<int> exitCode,
                             std::unique_ptr<StartedProcess>* process) {
  if (!console.empty()) {
    std::ofstream out(consoleLog_, std::ios::binary | std::ios::app);
    out << console;
  }
  lastExitCode_ = exitCode;
  std::optional<std::uint64_t> labEnd;
  if (exitCode) labEnd = clock_->Now() + extraRunTime_;
  *process = std::make_unique<LabStartedProcess>(clock_, labEnd);
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
  const CmdLineReading reading = ReadCmdLine(commandLine, NamesLabPerl);
  if (reading.kind == CmdLineKind::NotCmd) return status::FileNotFound;

  // cmd itself runs from here on: whatever its command lacks, cmd tells on its console and ends.
  ++startedCount_;
  if (reading.kind == CmdLineKind::Refused) return Started(reading.message + "\r\n", kFailedExitCode, process);
  const CmdCommand& command = reading.command;
  if (command.program.empty()) return Started("", 0, process);
  // cmd opens the input before it looks for the program: a missing input runs nothing.
  if (command.hasStandardInput) {
    const Status rc = files_.CheckReadable(FullWindowsPath(command.standardInput, currentDirectory));
    if (rc != status::Success) return Started(CmdMessage(rc) + "\r\n", kFailedExitCode, process);
  }
  // The product's Perl is there wherever the product is installed for a domain: in its bin folder.
  const std::wstring program = FullWindowsPath(command.program, currentDirectory);
  const fs::path domainFolder = files_.HostPath(ParentOf(ParentOf(program)));
  if (!NamesLabPerl(program) || domainFolder.empty() || !fs::is_directory(domainFolder, error)) {
    // Put together a piece at a time: GCC 12 takes "'" + std::string for an overlapping copy (-Wrestrict).
    std::string message = Utf8FromWide(command.program);
    message.insert(message.begin(), '\'');
    message += "' is not recognized as an internal or external command,\r\noperable program or batch file.\r\n";
    return Started(message, kNotRecognizedExitCode, process);
  }
  return StartInstaller(command, currentDirectory, process);
}

Status LabProcesses::StartInstaller(const CmdCommand& command, const std::wstring& currentDirectory,
                                    std::unique_ptr<StartedProcess>* process) {
  std::string input;
  if (command.hasStandardInput) {
    const Status rc = files_.ReadWholeFile(FullWindowsPath(command.standardInput, currentDirectory), &input);
    if (rc != status::Success) return Started(CmdMessage(rc) + "\r\n", kFailedExitCode, process);
  }
  LabInstallerRun run = RunLabInstaller(command.arguments, input);
  if (!run.definitionFileName.empty() && !installerFaults_.writesDefinition) {
    run.console.clear();
  } else if (!run.definitionFileName.empty()) {
    const std::wstring file = FullWindowsPath(run.definitionFileName, currentDirectory);
    FileWriteStep failedStep = FileWriteStep::Open;
    // A name that is no plain file name would leave the current directory: Perl's open fails on it here.
    const bool plainName = run.definitionFileName.find_first_of(L"\\/:") == std::wstring::npos;
    const Status rc = plainName ? files_.ReplaceWholeFile(file, run.definition, &failedStep) : status::PathNotFound;
    if (rc != status::Success) {
      run.console =
          "install.pl: cannot write " + SingleByteFromWide(run.definitionFileName) + ": " + PerlWriteError(rc) + "\r\n";
      run.exitCode = kFailedExitCode;
    }
  }
  if (installerFaults_.exitCode) run.exitCode = *installerFaults_.exitCode;
  return Started(run.console, installerFaults_.hangs ? std::nullopt : std::optional<int>(run.exitCode), process);
}
