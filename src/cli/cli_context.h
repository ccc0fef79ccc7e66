// What a command runs with: the system (or lab) it reads, the install log, the console, the clock.
#pragma once

#include <functional>
#include <string>

#include "report/readiness_report.h"

class Console;
class InstallLog;
struct Platform;

// The computer's clock now, in local time, as the report and a capture's README name it.
ReportTime LocalWallTime();

struct CliContext {
  // Null when the program's backend could not be set up (a lab that does not load); `platformProblem` says why.
  Platform* platform = nullptr;
  std::wstring platformProblem;
  InstallLog* log = nullptr;
  Console* console = nullptr;
  // "Windows" or "lab": the program that runs, as reports and READMEs name it.
  std::wstring edition;
  // Where check and generate save the readiness report unless told otherwise: beside the install log.
  std::wstring reportFolder;
  std::function<ReportTime()> now = LocalWallTime;
};
