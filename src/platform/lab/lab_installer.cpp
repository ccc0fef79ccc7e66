// The clustering product's installer as the lab plays it.
#include "platform/lab/lab_installer.h"

#include <cstdio>

#include "common/text_case.h"
#include "common/text_encoding.h"

namespace {

constexpr int kFailedExitCode = 1;
// Perl's own exit code when the script it is given can't be opened.
constexpr int kNoScriptExitCode = 2;

// The lines of the input as Perl's "<STDIN>" with "s/\r?\n\z//" gives them: a last line without
// its line end still counts.
std::vector<std::string> InputLines(const std::string& input) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < input.size()) {
    std::size_t end = input.find('\n', start);
    const bool ended = end != std::string::npos;
    if (!ended) end = input.size();
    std::string line = input.substr(start, end - start);
    if (ended && !line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

// "  %-7s %s": a name in a column of seven, then its value.
std::string Column(const std::string& name, const std::string& value) {
  std::string line = "  " + name;
  if (line.size() < 9) line.resize(9, ' ');
  return line + " " + value;
}

LabInstallerRun Failed(int exitCode, const std::string& line) {
  LabInstallerRun run;
  run.exitCode = exitCode;
  run.console = line + "\r\n";
  return run;
}

}  // namespace

bool NamesLabPerl(const std::wstring& program) {
  const std::size_t nameStart = program.find_last_of(L"\\/");
  if (nameStart == std::wstring::npos || nameStart == 0) return false;
  const std::wstring name = program.substr(nameStart + 1);
  const std::size_t folderStart = program.find_last_of(L"\\/:", nameStart - 1);
  const std::wstring folder = program.substr(folderStart == std::wstring::npos ? 0 : folderStart + 1,
                                             nameStart - (folderStart == std::wstring::npos ? 0 : folderStart + 1));
  return EqualsIgnoringAsciiCase(folder, L"bin") &&
         (EqualsIgnoringAsciiCase(name, L"ftPerl") || EqualsIgnoringAsciiCase(name, L"ftPerl.exe"));
}

LabInstallerRun RunLabInstaller(const std::vector<std::wstring>& arguments, const std::string& input) {
  // The lab holds no Perl scripts: install.pl is the one it knows.
  if (arguments.empty() || !EqualsIgnoringAsciiCase(arguments[0], L"install.pl")) {
    const std::string script = arguments.empty() ? std::string("-") : SingleByteFromWide(arguments[0]);
    return Failed(kNoScriptExitCode, "Can't open perl script \"" + script + "\": No such file or directory");
  }
  if (arguments.size() != 4) {
    return Failed(kFailedExitCode, "usage: install.pl DEFINITION-NAME DOMAIN INSTALL-DIR < values.dat");
  }
  const std::string definition = SingleByteFromWide(arguments[1]);
  const std::string domain = SingleByteFromWide(arguments[2]);
  const std::string installDirectory = SingleByteFromWide(arguments[3]);

  const std::vector<std::string> lines = InputLines(input);
  const std::size_t count = lines.size();
  if (count != 29 && count != 31) {
    return Failed(kFailedExitCode, "install.pl: the values file has " + std::to_string(count) +
                                       " lines, not 29 or 31; nothing was written.");
  }
  // The node CLAN addresses come again as lines 18 and 19 only in the 31-line form.
  const std::size_t rest = count == 31 ? 19 : 17;
  const auto restLine = [&](std::size_t i) -> const std::string& { return lines[rest + i]; };
  struct Node {
    const std::string& name;
    const std::string* values[5];
  };
  const Node nodes[] = {
      {lines[0], {&lines[4], &lines[14], &restLine(3), &restLine(5), &restLine(7)}},
      {lines[1], {&lines[5], &lines[15], &restLine(4), &restLine(6), &restLine(8)}},
  };
  const char* const kLinks[] = {"ELAN", "CLAN", "HB1", "HB2", "MIRROR"};

  std::vector<std::string> text = {
      "# Cluster definition written by the lab's stand-in installer (install.pl) from values.dat.",
      "Definition:        " + definition,
      "AutoStart domain:  " + domain,
      "Install directory: " + installDirectory,
      "",
  };
  for (int n = 0; n < 2; ++n) {
    text.push_back("Node " + std::to_string(n + 1) + ": " + nodes[n].name);
    for (int link = 0; link < 5; ++link) text.push_back(Column(kLinks[link], *nodes[n].values[link]));
  }
  text.push_back("");
  text.push_back("ELAN: subnet " + lines[2] + ", mask " + lines[3] + ", switch " + lines[6] + ", managed address " +
                 lines[10]);
  text.push_back("CLAN: subnet " + lines[12] + ", mask " + lines[13] + ", gateway " + restLine(2) + ", test address " +
                 lines[16] + ", managed address " + restLine(1));
  text.push_back("");
  text.push_back("User:      " + restLine(9));
  text.push_back("Workgroup: " + restLine(10));

  LabInstallerRun run;
  run.definitionFileName = arguments[1] + L".def";
  for (const std::string& line : text) run.definition += line + "\r\n";
  run.console = "install.pl: " + definition + ".def written for the domain " + domain + ".\r\n";
  return run;
}
