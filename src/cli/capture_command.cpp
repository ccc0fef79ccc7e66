// capture: the servers and this computer's answers written as a lab folder, for rehearsing the site's pair elsewhere.
#include "cli/capture_command.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <system_error>

#include "cli/capture_folder.h"
#include "cli/capture_readme.h"
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
#include "common/path_text.h"
#include "common/program_info.h"
#include "common/text_case.h"
#include "common/text_encoding.h"
#include "common/text_format.h"
#include "generation/defaults_file.h"
#include "generation/paths.h"
#include "platform/platform.h"
#include "report/readiness_report.h"
#include "validation/entry_rules.h"

namespace fs = std::filesystem;

namespace {
// A capture reads a pair, or a few servers of a site; more names than this are a mistake in the
// command line, not a site. The servers are read this many at a time.
constexpr std::size_t kMostServers = 64;
constexpr std::size_t kServersReadAtOnce = 8;

// The names of a file of this computer's drives as the lab keeps it: "D:\Zandor\x.dat" is drives/D/Zandor/x.dat.
std::vector<std::wstring> DrivePath(const std::wstring& windowsPath) {
  std::vector<std::wstring> names = {L"drives", windowsPath.substr(0, 1)};
  std::size_t start = 3;
  while (start < windowsPath.size()) {
    std::size_t end = windowsPath.find(L'\\', start);
    if (end == std::wstring::npos) end = windowsPath.size();
    names.push_back(windowsPath.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

std::string CrLfUtf8(const std::vector<std::wstring>& lines) {
  std::wstring text;
  for (const std::wstring& line : lines) text += line + L"\r\n";
  return Utf8FromWide(text);
}

// Whether a name can be a server's folder: a host name holds no path characters, and is no name
// of dots only (".." would climb out of servers/).
bool IsFolderName(const std::wstring& name) {
  if (name.empty() || name.find_first_not_of(L'.') == std::wstring::npos) return false;
  for (const wchar_t c : name) {
    if (c < 0x20 || std::wstring(L"\\/:*?\"<>|").find(c) != std::wstring::npos) return false;
  }
  return true;
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

// The README's lines before the rehearsal: what was captured, when and where.
struct ReadmeFacts {
  std::wstring computer;
  std::wstring capturedAt;
  std::vector<std::wstring> serverLines;
  std::wstring domain;  // as the answers hold it
  bool domainUsable = false;
  bool hasDefaults = false;
  bool hasManifest = false;
};

std::vector<std::wstring> ReadmeLines(const ReadmeFacts& facts, const std::wstring& folderName) {
  std::vector<std::wstring> readme = {
      std::wstring(L"A lab captured by DuplexSetupAssistant ") + ProgramVersion() + L" (" + ProgramEdition() +
          L" edition), the command capture.",
      L"",
      L"When:  " + facts.capturedAt + L", local time of the computer it ran on",
      L"Where: on " + facts.computer + L", which lab.conf names as this computer",
      L"Servers:",
  };
  readme.insert(readme.end(), facts.serverLines.begin(), facts.serverLines.end());
  readme.push_back(facts.domain.empty()
                       ? L"Services: no AutoStart domain was saved, so only the mirror and transport services."
                       : L"Services: the four of the AutoStart domain " + facts.domain + L".");
  readme.push_back(facts.hasDefaults
                       ? L"Answers: the defaults file, as drives/D/Zandor/HA/ToolkitInstaller2.0/HADefaults.dat."
                       : L"Answers: none were saved on this computer.");
  if (!facts.domain.empty() && !facts.domainUsable) {
    readme.push_back(
        L"Product: the saved AutoStart domain is no valid domain name (letters and digits), so no "
        L"manifest was read.");
  } else {
    readme.push_back(facts.hasManifest ? L"Product: the domain's manifest, under drives/D/Program Files/EMC AutoStart."
                                       : L"Product: no manifest was found for the domain.");
  }
  for (const wchar_t* line :
       {L"", L"Each server folder holds its registry keys as regedit exports (registry/*.reg), its clustering",
        L"services as sc queryex prints them (services.txt) and, when it refused a key or a service,",
        L"faults.conf. drives/C, drives/D and drives/E are this computer's drives with the folders the",
        L"wizard reads and writes. A lab is data: the lab edition refuses one that holds a symbolic link.", L""}) {
    readme.push_back(line);
  }
  const std::vector<std::wstring> rehearsal =
      CaptureRehearsalLines(folderName, facts.domainUsable ? facts.domain : std::wstring());
  readme.insert(readme.end(), rehearsal.begin(), rehearsal.end());
  return readme;
}

// The folders the wizard reads and writes on this computer's drives, each kept by a short note.
void AddDriveFolders(std::vector<CaptureFile>& files) {
  files.push_back({{L"drives", L"C", L"README.txt"},
                   CrLfUtf8({L"Drive C: of the computer the capture ran on: the readiness reports are saved below it,",
                             L"in ProgramData\\Zandor\\Reports."})});
  files.push_back(
      {DrivePath(std::wstring(kToolkitDirectory) + L"\\README.txt"),
       CrLfUtf8({L"The toolkit folder: the defaults file, the installer's input and its definition file."})});
  files.push_back({{L"drives", L"E", L"Zandor", L"HA", L"README.txt"},
                   CrLfUtf8({L"The wizard writes the clustering product's INI file here."})});
}
// lab.conf of a capture: this computer, and the wires a capture can't see taken as the site had them:
// each switch on the ELAN and the CLAN test address on the CLAN answer the probes.
std::vector<std::wstring> LabConfLines(const std::wstring& capturedAt, const std::wstring& computer,
                                       const Entries& answers,
                                       const std::vector<std::unique_ptr<ServerCapture>>& captures) {
  std::vector<std::wstring> lines = {L"# Captured " + capturedAt + L": this computer is the one the capture ran on.",
                                     L"computer-name = " + computer,
                                     L"# The switch and the CLAN test address answer echoes, as at a working site."};
  std::vector<std::wstring> hosts;
  for (const auto& capture : captures) {
    if (!capture->switchAddress.empty()) hosts.push_back(capture->switchAddress + L" ELAN");
  }
  if (!answers.ClanTestIp.empty() && answers.ClanTestIp != L"127.0.0.1") hosts.push_back(answers.ClanTestIp + L" CLAN");
  for (const std::wstring& host : hosts) {
    const std::wstring line = L"host = " + host;
    if (std::find(lines.begin(), lines.end(), line) == lines.end()) lines.push_back(line);
  }
  return lines;
}

}  // namespace

int RunCapture(const CommandLine& command, CliContext& context, CliOutput& output) {
  Platform& platform = *context.platform;
  const fs::path folder = PathFromWide(command.captureFolder);
  std::error_code error;
  if (fs::exists(folder, error) && !(fs::is_directory(folder, error) && fs::is_empty(folder, error))) {
    output.Problem(
        FormatText(L"The folder %s is not empty: capture writes a new or empty folder.", {command.captureFolder}));
    return exitcode::Usage;
  }

  ReadmeFacts facts;
  if (platform.machine.QueryComputerName(&facts.computer) != status::Success || facts.computer.empty()) {
    facts.computer = L"localhost";
  }
  const LocalDateTime now = platform.machine.LocalTime();
  facts.capturedAt = ReportTimeText(now);
  const std::wstring capturedAt = facts.capturedAt + L" on " + facts.computer;

  // The answers say which servers form the pair and which domain their services belong to.
  std::string defaults;
  facts.hasDefaults = platform.files.ReadWholeFile(kDefaultsFilePath, &defaults) == status::Success;
  Entries answers;
  if (facts.hasDefaults) ReadDefaultsFile(defaults, answers);
  facts.domain = answers.AutoStartDomain;
  // The domain reaches a path only when it passes the window's rule: no "..", no separators.
  facts.domainUsable = !facts.domain.empty() && IsValidAutoStartDomain(facts.domain);
  std::string manifest;
  const std::wstring manifestPath = std::wstring(kAutoStartInstallDirectory) + L"\\" + facts.domain + L"\\manifest";
  facts.hasManifest = facts.domainUsable && platform.files.ReadWholeFile(manifestPath, &manifest) == status::Success;

  const std::vector<std::wstring> servers = ServersToCapture(command, answers, facts.computer);
  if (servers.size() > kMostServers) {
    output.Problem(FormatText(L"capture reads at most %d servers; %d were named.",
                              {static_cast<int>(kMostServers), static_cast<int>(servers.size())}));
    return exitcode::Usage;
  }
  for (const std::wstring& server : servers) {
    if (IsFolderName(server)) continue;
    output.Problem(FormatText(L"\"%s\" is not a host name a capture can keep as a folder.", {server}));
    return exitcode::Usage;
  }

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
  RunOnThreads(jobs, kServersReadAtOnce);

  std::vector<CaptureFile> files;
  int exitCode = exitcode::Clean;
  int captured = 0;
  // A capture shows no box; each server's lines go to the log.
  ProblemBox problems(output);
  for (const auto& capture : captures) {
    capture->log.WriteTo(*context.log, problems);
    if (capture->status != status::Success) {
      output.Problem(FormatText(L"The server %s could not be read. rc = %ld", {capture->hostName, capture->status}));
      facts.serverLines.push_back(
          FormatText(L"  %s: could not be read (rc = %ld); the lab has no folder for it, so it is "
                     L"unreachable there.",
                     {capture->hostName, capture->status}));
      exitCode = exitcode::NotGathered;
      continue;
    }
    for (const CapturedFile& file : capture->files) {
      std::vector<std::wstring> path = {L"servers", capture->hostName};
      const std::wstring name = WideFromUtf8(file.name);
      for (std::size_t start = 0; start <= name.size();) {
        const std::size_t end = std::min(name.find(L'/', start), name.size());
        path.push_back(name.substr(start, end - start));
        start = end + 1;
      }
      files.push_back({path, file.bytes});
    }
    ++captured;
    const int count = static_cast<int>(capture->files.size());
    output.Say(FormatText(L"%s: read, %d %s.", {capture->hostName, count, count == 1 ? L"file" : L"files"}));
    facts.serverLines.push_back(FormatText(L"  %s: servers/%s", {capture->hostName, capture->hostName}));
  }

  files.push_back({{L"lab.conf"}, CrLfUtf8(LabConfLines(capturedAt, facts.computer, answers, captures))});
  AddDriveFolders(files);
  if (facts.hasDefaults) files.push_back({DrivePath(kDefaultsFilePath), defaults});
  if (facts.hasManifest) files.push_back({DrivePath(manifestPath), manifest});
  const fs::path named = folder.has_filename() ? folder : folder.parent_path();
  files.push_back({{L"README.txt"}, CrLfUtf8(ReadmeLines(facts, WideFromPath(named.filename())))});

  std::wstring problem;
  if (WriteCaptureFolder(folder, files, &problem) != CaptureWrite::Done) {
    output.Problem(problem);
    return exitcode::FileNotWritten;
  }
  output.Say(FormatText(L"Summary: %d of %d servers captured into %s. Exit code %d.",
                        {captured, static_cast<int>(servers.size()), command.captureFolder, exitCode}));
  return exitCode;
}
