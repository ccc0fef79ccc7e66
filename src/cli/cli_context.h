// What a command runs with: the system (or lab) it reads, the install log, the console, the clock.
#pragma once

#include <functional>
#include <string>

class Console;
class InstallLog;
struct Platform;

// A moment of the local clock, as a README or report names it.
struct WallTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// The computer's clock now, in local time.
WallTime LocalWallTime();
// "2026-12-08 14:30:05"
std::wstring WallTimeText(const WallTime& time);

struct CliContext {
  // Null when the program's backend could not be set up (a lab that does not load); `platformProblem` says why.
  Platform* platform = nullptr;
  std::wstring platformProblem;
  InstallLog* log = nullptr;
  Console* console = nullptr;
  // "Windows" or "lab": the program that runs, as reports and READMEs name it.
  std::wstring edition;
  std::function<WallTime()> now = LocalWallTime;
};
