// Runs a scenario script: the wizard on a copy of a lab, driven as a user would drive it, told in a transcript.
#pragma once

#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "scenario/scenario_script.h"
#include "scenario/transcript.h"

struct ScenarioSettings {
  std::filesystem::path scriptFolder;  // where `lab FOLDER` is looked for
  std::filesystem::path bundledLabs;   // the repository's lab/ folder: `lab demo`, `lab bundled NAME`
  // When set, the readiness reports the runs saved are kept there before a lab's copy goes, each
  // named "<reportsPrefix>-<n>-<its name>" (so that tools can check them).
  std::filesystem::path reportsFolder;
  std::string reportsPrefix;
  // Where the lab's copies are made, each in a folder of its own: the system's temporary folder
  // when empty.
  std::filesystem::path scratchFolder;
};

// A new folder of its own under `parent` (the system's temporary folder when empty), so that runs
// side by side never meet; empty with `reason` set when none could be made.
std::filesystem::path MakeScratchFolder(const std::filesystem::path& parent, std::string* reason);
// Removes `folder` and all it holds: renamed away first, so that nothing still writing into it by path can
// outrun the removal.
void RemoveScratchFolder(const std::filesystem::path& folder);

class ScenarioRunner {
 public:
  ScenarioRunner(ScenarioSettings settings, Transcript& transcript);
  // The lab's copy is removed with the runner.
  ~ScenarioRunner();
  ScenarioRunner(const ScenarioRunner&) = delete;
  ScenarioRunner& operator=(const ScenarioRunner&) = delete;

  // Runs the commands in order. False at the first one that can't be carried out (no lab yet,
  // a question with no answer queued, a button of a window that isn't open ...), with its line
  // and the reason in `error`; the transcript then ends there.
  bool Run(const std::vector<ScenarioCommand>& commands, ScriptError* error);

 private:
  struct Window;

  // One run of the program, from `start` to the window's end: it goes on taking commands until
  // one of them ends the window, a restart comes or the script ends.
  bool RunWindow(const std::vector<ScenarioCommand>& commands, std::size_t* next, const ScenarioCommand& start,
                 ScriptError* error);
  bool Execute(const ScenarioCommand& command, std::string* reason);
  // After each command: every question had its answer, and every answer its question.
  bool CheckAnswers(const ScenarioCommand& command, std::string* reason) const;

  bool UseLab(const std::vector<std::string>& args, std::string* reason);
  bool WriteDriveFile(const std::vector<std::string>& args, std::string* reason);
  bool RemoveDriveEntry(ScenarioVerb verb, const std::string& windowsPath, std::string* reason);
  bool AddFault(const std::vector<std::string>& args, std::string* reason);
  void ShowFile(const std::string& windowsPath);
  bool Press(const std::string& buttonName);

  std::filesystem::path HostPath(const std::string& windowsPath) const;
  bool OnLabDrives(const std::filesystem::path& entry) const;
  void RemoveLabCopy();
  // Copies the readiness reports of the lab's copy into the settings' reports folder.
  void KeepReports();

  ScenarioSettings settings_;
  Transcript& transcript_;
  TranscriptLog log_;
  int keptLabs_ = 0;
  std::filesystem::path copyRoot_;   // the temporary folder holding the lab's copy
  std::filesystem::path labFolder_;  // the copy the runs use
  std::deque<bool> answers_;         // queued for the next questions
  int firstAnswerLine_ = 0;
  Window* window_ = nullptr;  // the open window, if any
};
