// The console program as the Wine tests build it: DuplexSetupAssistant.com's commands on Wine's real registry
// and service manager, with node 2 reached by the name duplex-peer (peer_registry.h), since Wine reaches
// no other server. Everything else is the program's own: its console, its log, its command line.
#include <windows.h>

#include <iostream>
#include <string>
#include <vector>

#include "app/setuplogkit_log.h"
#include "cli/run_command_line.h"
#include "peer_registry.h"
#include "platform/win32/win32_platform.h"
#include "setuplogkit/setuplogkit_loader.h"
#include "wizard/win32/win32_console.h"

int wmain(int argc, wchar_t* argv[]) {
  Win32Console console;
  Win32Backend system;
  PeerRegistry registry(system.registry);
  Platform platform{registry, system.services, system.files, system.machine, system.processes, system.network};
  SetupLogKitLibrary library("");
  SetupLogKitLog log(library.WriteFunction(), library.Problem(), DefaultFallbackLogFile(), std::cerr);

  CliContext context;
  context.platform = &platform;
  context.hostFiles = &system.files;
  context.log = &log;
  context.console = &console;
  return RunCommandLine(std::vector<std::wstring>(argv + 1, argv + argc), context);
}
