// What a command runs with: the system (or lab) it reads, the install log and the console.
#pragma once

#include <string>

class Console;
class InstallLog;
struct Platform;

struct CliContext {
  // Null when the program's backend could not be set up (a lab that does not load); `platformProblem` says why.
  Platform* platform = nullptr;
  std::wstring platformProblem;
  InstallLog* log = nullptr;
  Console* console = nullptr;
};
