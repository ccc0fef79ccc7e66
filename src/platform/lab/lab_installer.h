// The clustering product's installer as the lab plays it: ftPerl running the toolkit's install.pl is
// behaviour of the lab itself, so that no lab ever starts a program from its own folders.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/lab/cmd_line.h"

// How the lab's installer misbehaves (lab.conf: installer-exit-code, installer-definition,
// installer-hang), for rehearsing what Step 3 does when the product's installer fails.
struct LabInstallerFaults {
  std::optional<int> exitCode;   // it ends with this code instead of its own
  bool writesDefinition = true;  // false: it ends without writing the definition file
  bool hangs = false;            // it never ends
};

// Whether `program` (the command's first word, as cmd read it) names the product's Perl: a file
// ftPerl or ftPerl.exe (any letter case) in a folder named bin.
bool NamesLabPerl(const std::wstring& program);

// What install.pl did: its exit code, what it printed (CR LF lines, as its console shows them),
// and the definition file it writes in its current directory (no name: none).
struct LabInstallerRun {
  int exitCode = 0;
  std::string console;
  std::wstring definitionFileName;
  std::string definition;
};

// ftPerl run with `arguments` (install.pl and its three words) and `input` as its standard
// input: the product's installer script reduced to what the wizard relies on. It reads the Perl
// input file's lines (29, or 31 when the CLAN test address is not 127.0.0.1) and writes
// "<definition name>.def", a readable summary of the cluster (docs/lab.md).
LabInstallerRun RunLabInstaller(const std::vector<std::wstring>& arguments, const std::string& input);
