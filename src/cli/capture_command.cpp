// capture: the servers and this computer's answers written as a lab folder, for rehearsing the site's pair elsewhere.
#include "cli/capture_command.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <system_error>

#include "log/install_log.h"
#include "cli/cli_output.h"
#include "cli/command_line.h"
#include "cli/exit_codes.h"
#include "cli/problem_box.h"
#include "cli/server_capture.h"
#include "nodes/cluster_services.h"
#include "cli/side_by_side.h"
#include "cli/stage_watch.h"
#include "common/entries.h"
#include "common/program_info.h"
#include "common/text_case.h"
#include "common/text_encoding.h"
#include "common/text_format.h"
#include "generation/defaults_file.h"
#include "generation/paths.h"
#include "platform/platform.h"
#include "report/readiness_report.h"

namespace fs = std::filesystem;

namespace {
// A file of this computer's drives as the lab keeps it: "D:\Zandor\x.dat" is drives/D/Zandor/x.dat.
fs::path DrivePath(const fs::path& folder, const std::wstring& windowsPath) {
  fs::path path = folder / "drives" / fs::path(windowsPath.substr(0, 1));
  std::size_t start = 3;
  while (start < windowsPath.size()) {
    std::size_t end = windowsPath.find(L'\\', start);
    if (end == std::wstring::npos) end = windowsPath.size();
    path /= fs::path(windowsPath.substr(start, end - start));
    start = end + 1;
  }
  return path;
}

// Writes the files one by one; the first that fails is said, and ends the writing.
class FolderWriter {
 public:
  FolderWriter(CliOutput& output) : output_(output) {}

  bool Write(const fs::path& path, const std::string& bytes) {
    if (failed_) return false;
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!error && out) {
      out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      out.close();
    }
    if (error || !out) {
      output_.Problem(FormatText(L"Unable to write the file %s.", {path.wstring()}));
      failed_ = true;
      return false;
    }
    return true;
  }
  bool Failed() const { return failed_; }

 private:
  CliOutput& output_;
  bool failed_ = false;
};

std::string CrLfUtf8(const std::vector<std::wstring>& lines) {
  std::wstring text;
  for (const std::wstring& line : lines) text += line + L"\r\n";
  return Utf8FromWide(text);
}

// The servers to read: as named, else the two of the answers, else this computer; each once.
std::vector<std::wstring> ServersToCapture(const CommandLine& command, const Entries& answers,
                                           const std::wstring& computer) {
  std::vector<std::wstring> named = command.nodes;
  if (named.empty()) {
    for (const std::wstring* host : {&answers.Node1HostName, &answers.Node2HostName}) {
      if (!host->empty()) named.push_back(*host);
    }
  }
  if (named.empty()) named.push_back(computer);
  std::vector<std::wstring> servers;
  for (const std::wstring& name : named) {
    bool seen = false;
    for (const std::wstring& server : servers) seen = seen || EqualsIgnoringAsciiCase(server, name);
    if (!seen) servers.push_back(name);
  }
  return servers;
}
}  // namespace

int RunCapture(const CommandLine& command, CliContext& context, CliOutput& output) {
  Platform& platform = *context.platform;
  const fs::path folder(command.captureFolder);
  std::error_code error;
  if (fs::exists(folder, error) && !(fs::is_directory(folder, error) && fs::is_empty(folder, error))) {
    output.Problem(
        FormatText(L"The folder %s is not empty: capture writes a new or empty folder.", {command.captureFolder}));
    return exitcode::Usage;
  }

  std::wstring computer;
  if (platform.machine.QueryComputerName(&computer) != status::Success || computer.empty()) computer = L"localhost";
  const LocalDateTime now = platform.machine.LocalTime();
  const std::wstring capturedAt = ReportTimeText(now) + L" on " + computer;

  // The answers say which servers form the pair and which domain their services belong to.
  std::string defaults;
  const bool hasDefaults = platform.files.ReadWholeFile(kDefaultsFilePath, &defaults) == status::Success;
  Entries answers;
  if (hasDefaults) ReadDefaultsFile(defaults, answers);
  std::string manifest;
  const std::wstring manifestPath =
      std::wstring(kAutoStartInstallDirectory) + L"\\" + answers.AutoStartDomain + L"\\manifest";
  const bool hasManifest =
      !answers.AutoStartDomain.empty() && platform.files.ReadWholeFile(manifestPath, &manifest) == status::Success;

  const std::vector<std::wstring> servers = ServersToCapture(command, answers, computer);
  std::vector<std::unique_ptr<ServerCapture>> captures;
  std::vector<std::function<void()>> jobs;
  for (const std::wstring& server : servers) {
    captures.push_back(std::make_unique<ServerCapture>());
    ServerCapture& capture = *captures.back();
    capture.hostName = server;
    capture.serviceNames = ClusterServiceNames(answers.AutoStartDomain);
    capture.capturedAt = capturedAt;
    jobs.push_back([&platform, &output, &capture] {
      StageWatch watch(platform, [&](const wchar_t* stage) { output.Progress(capture.hostName + L": " + stage); });
      CaptureServer(watch.platform(), capture);
    });
  }
  output.Say(FormatText(L"Capturing into %s.", {command.captureFolder}));
  RunSideBySide(jobs);

  FolderWriter writer(output);
  int exitCode = exitcode::Clean;
  int captured = 0;
  std::vector<std::wstring> serverLines;
  // A capture shows no box; each server's lines go to the log.
  ProblemBox problems(output);
  for (const auto& capture : captures) {
    capture->log.WriteTo(*context.log, problems);
    if (capture->status != status::Success) {
      output.Problem(FormatText(L"The server %s could not be read. rc = %ld", {capture->hostName, capture->status}));
      serverLines.push_back(
          FormatText(L"  %s: could not be read (rc = %ld); the lab has no folder for it, so it is "
                     L"unreachable there.",
                     {capture->hostName, capture->status}));
      exitCode = exitcode::NotGathered;
      continue;
    }
    for (const CapturedFile& file : capture->files) {
      writer.Write(folder / "servers" / fs::path(capture->hostName) / fs::path(file.name), file.bytes);
    }
    ++captured;
    const int files = static_cast<int>(capture->files.size());
    output.Say(FormatText(L"%s: read, %d %s.", {capture->hostName, files, files == 1 ? L"file" : L"files"}));
    serverLines.push_back(FormatText(L"  %s: servers/%s", {capture->hostName, capture->hostName}));
  }

  writer.Write(folder / "lab.conf",
               CrLfUtf8({L"# Captured " + capturedAt + L": this computer is the one the capture ran on.",
                         L"computer-name = " + computer}));
  if (hasDefaults) writer.Write(DrivePath(folder, kDefaultsFilePath), defaults);
  if (hasManifest) writer.Write(DrivePath(folder, manifestPath), manifest);

  std::vector<std::wstring> readme = {
      std::wstring(L"A lab captured by DuplexSetupAssistant ") + ProgramVersion() + L" (" + ProgramEdition() +
          L" edition), the command capture.",
      L"",
      L"When:  " + ReportTimeText(now) + L", local time of the computer it ran on",
      L"Where: on " + computer + L", which lab.conf names as this computer",
      L"Servers:",
  };
  readme.insert(readme.end(), serverLines.begin(), serverLines.end());
  readme.push_back(answers.AutoStartDomain.empty()
                       ? L"Services: no AutoStart domain was saved, so only the mirror and transport services."
                       : L"Services: the four of the AutoStart domain " + answers.AutoStartDomain + L".");
  readme.push_back(hasDefaults
                       ? L"Answers: the defaults file, as drives/D/Zandor/HA/ToolkitInstaller2.0/HADefaults.dat."
                       : L"Answers: none were saved on this computer.");
  readme.push_back(hasManifest ? L"Product: the domain's manifest, under drives/D/Program Files/EMC AutoStart."
                               : L"Product: no manifest was found for the domain.");
  for (const wchar_t* line :
       {L"", L"Each server folder holds its registry keys as regedit exports (registry/*.reg), its clustering",
        L"services as sc queryex prints them (services.txt) and, when it refused a key or a service,",
        L"faults.conf. Rehearse it with the lab edition:", L"", L"  bash tools/demo.sh /path/to/this/folder",
        L"  DUPLEX_SETUP_LAB=/path/to/this/folder ./build/linux/DuplexSetupAssistant", L"",
        L"See docs/capture.md. The lab holds none of the product's installer, so Step 3 stops at starting it."}) {
    readme.push_back(line);
  }
  writer.Write(folder / "README.txt", CrLfUtf8(readme));

  if (writer.Failed()) return exitcode::FileNotWritten;
  output.Say(FormatText(L"Summary: %d of %d servers captured into %s. Exit code %d.",
                        {captured, static_cast<int>(servers.size()), command.captureFolder, exitCode}));
  return exitCode;
}
