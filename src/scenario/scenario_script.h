// A scenario script: a user's actions on the wizard, one command a line (docs/scenarios.md).
#pragma once

#include <string>
#include <vector>

enum class ScenarioVerb {
  Lab,
  File,
  RemoveFile,
  RemoveFolder,
  Fault,
  Start,
  Restart,
  Type,
  Choose,
  Press,
  Answer,
  Show
};

// One command with its arguments checked and unescaped:
//   Lab           {"bundled", NAME} or {"folder", PATH as written}
//   File          {WINDOWS PATH, CONTENT}
//   RemoveFile, RemoveFolder   {WINDOWS PATH}
//   Fault         {"", KEY, VALUE} for lab.conf, or {SERVER, KEY, VALUE} for the server's faults.conf
//   Type          {ENTRY NAME, TEXT}
//   Choose        {ITEM} (empty for none)
//   Press         {BUTTON NAME}
//   Answer        {"yes"} or {"no"}
//   Show          {"list"}, {"buttons"}, {"entries"} or {"file", WINDOWS PATH}
struct ScenarioCommand {
  int line = 0;        // 1-based
  std::string source;  // as written, for the transcript
  ScenarioVerb verb = ScenarioVerb::Start;
  std::vector<std::string> args;
};

struct ScriptError {
  int line = 0;  // 0: not tied to a line
  std::string reason;
};

// Reads a whole script. At the first malformed line returns false with its line and the reason,
// so that nothing runs from a script that can't run to its end.
bool ParseScenarioScript(const std::string& text, std::vector<ScenarioCommand>* commands, ScriptError* error);
