// duplex_scenario: runs a scenario script on a lab and prints, or checks, what the wizard showed and logged.
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "scenario/interrupt_cleanup.h"
#include "scenario/scenario_runner.h"
#include "scenario/scenario_script.h"
#include "scenario/transcript.h"

#ifndef DUPLEX_BUNDLED_LABS
#define DUPLEX_BUNDLED_LABS ""
#endif

namespace {
constexpr int kExitDifferent = 1;
constexpr int kExitScriptError = 2;

bool ReadFile(const std::string& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  text->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

int Usage() {
  std::cerr << "usage: duplex_scenario SCRIPT [--expected FILE] [--labs DIR] [--reports DIR]\n"
               "  prints what the wizard showed and logged; with --expected, compares it with FILE;\n"
               "  with --reports, keeps the readiness reports the runs saved in DIR\n";
  return kExitScriptError;
}

void Print(const Transcript& transcript) {
  for (const std::string& line : transcript.Lines()) std::cout << line << '\n';
}
}  // namespace

int main(int argc, char* argv[]) {
  std::string scriptPath;
  std::string expectedPath;
  std::string labsFolder = DUPLEX_BUNDLED_LABS;
  std::string reportsFolder;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if ((argument == "--expected" || argument == "--labs" || argument == "--reports") && i + 1 < argc) {
      (argument == "--expected" ? expectedPath : argument == "--labs" ? labsFolder : reportsFolder) = argv[++i];
    } else if (scriptPath.empty() && !argument.empty() && argument[0] != '-') {
      scriptPath = argument;
    } else {
      return Usage();
    }
  }
  if (scriptPath.empty()) return Usage();

  std::string script;
  if (!ReadFile(scriptPath, &script)) {
    std::cerr << scriptPath << ": cannot be read\n";
    return kExitScriptError;
  }
  std::vector<ScenarioCommand> commands;
  ScriptError error;
  if (!ParseScenarioScript(script, &commands, &error)) {
    std::cerr << scriptPath << ":" << error.line << ": " << error.reason << '\n';
    return kExitScriptError;
  }

  // Every copy of a lab this run makes goes into one folder of its own, removed at the end and on a stop.
  std::string reason;
  const std::filesystem::path scratch = MakeScratchFolder({}, &reason);
  if (scratch.empty()) {
    std::cerr << reason << '\n';
    return kExitScriptError;
  }
  Transcript transcript;
  bool ran = false;
  {
    const InterruptCleanup cleanup(scratch);
    ScenarioRunner runner({std::filesystem::path(scriptPath).parent_path(), labsFolder, reportsFolder,
                           std::filesystem::path(scriptPath).stem().string(), scratch},
                          transcript);
    ran = runner.Run(commands, &error);
  }
  RemoveScratchFolder(scratch);
  if (!ran) {
    Print(transcript);
    std::cerr << scriptPath << ":" << error.line << ": " << error.reason << '\n';
    return kExitScriptError;
  }
  if (expectedPath.empty()) {
    Print(transcript);
    return 0;
  }

  std::string expected;
  if (!ReadFile(expectedPath, &expected)) {
    std::cerr << expectedPath << ": cannot be read\n";
    return kExitScriptError;
  }
  const std::string difference = FirstDifference(SplitTranscript(expected), transcript.Lines());
  if (difference.empty()) return 0;
  std::cerr << expectedPath << ": " << difference << '\n';
  return kExitDifferent;
}
