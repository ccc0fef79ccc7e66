// The console program as the Wine tests build it: DuplexSetupAssistant.com's commands on Wine's real registry
// and service manager, with node 2 reached by the name duplex-peer (peer_registry.h), since Wine reaches
// no other server. Everything else is the program's own: its console, its log, its command line.
#include <string>
#include <vector>

#include "peer_registry.h"
#include "programs/win32/win32_edition.h"

int wmain(int argc, wchar_t* argv[]) {
  Win32Edition edition;
  Platform& system = *edition.platform();
  PeerRegistry registry(system.registry);
  Platform platform{registry, system.services, system.files, system.machine, system.processes, system.network};
  return edition.RunCommandLine(std::vector<std::wstring>(argv + 1, argv + argc), platform);
}
