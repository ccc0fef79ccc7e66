// What a command runs with: the system (or lab) it reads, the install log and the console.
#pragma once

#include <string>

class Console;
class FileSystem;
class InstallLog;
struct Platform;

struct CliContext {
  // Null when the program's backend could not be set up (a lab that does not load); `platformProblem` says why.
  Platform* platform = nullptr;
  std::wstring platformProblem;
  // The files of the computer the program runs on, by the names it gives them, whatever the
  // platform: what the person names on the command line (answers FILE, report FOLDER).
  FileSystem* hostFiles = nullptr;
  InstallLog* log = nullptr;
  Console* console = nullptr;
};
