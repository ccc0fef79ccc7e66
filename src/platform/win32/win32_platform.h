// The Windows backend as one piece: every part of the seam, joined with the toolkit's owner-less box.
// Its network part comes from duplex_win32_network, or in test programs from
// duplex_win32_network_loopback_only, which refuses any echo that would leave this machine.
#pragma once

#include "platform/platform.h"
#include "platform/win32/files_win32.h"
#include "platform/win32/machine_win32.h"
#include "platform/win32/network_win32.h"
#include "platform/win32/processes_win32.h"
#include "platform/win32/registry_win32.h"
#include "platform/win32/services_win32.h"

struct Win32Backend {
  Platform MakePlatform() { return Platform{registry, services, files, machine, processes, network}; }

  Win32Registry registry;
  Win32ServiceControl services;
  Win32FileSystem files;
  Win32Machine machine;
  Win32Processes processes;
  Win32Network network;
};
