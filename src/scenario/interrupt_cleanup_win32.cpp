// On Windows a console's Ctrl+C, Ctrl+Break or close comes to a handler on a thread of its own,
// which may remove a folder before the process ends as it would have.
#include <windows.h>

#include "scenario/interrupt_cleanup.h"
#include "scenario/scenario_runner.h"

struct InterruptCleanup::State {};

namespace {
// The handler takes no argument: the one folder of the one cleanup the program makes.
std::filesystem::path g_scratchFolder;

BOOL WINAPI OnConsoleStop(DWORD) {
  RemoveScratchFolder(g_scratchFolder);
  return FALSE;  // the default handling then ends the process
}
}  // namespace

InterruptCleanup::InterruptCleanup(std::filesystem::path folder) : state_(std::make_unique<State>()) {
  g_scratchFolder = std::move(folder);
  SetConsoleCtrlHandler(OnConsoleStop, TRUE);
}

InterruptCleanup::~InterruptCleanup() { SetConsoleCtrlHandler(OnConsoleStop, FALSE); }
