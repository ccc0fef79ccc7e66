// The seam between the program's logic and the system it runs on: Windows itself or a lab.
#pragma once

#include "platform/files.h"
#include "platform/machine.h"
#include "platform/network.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/services.h"

// References to one backend's parts, chosen once at start-up.
struct Platform {
  Registry& registry;
  ServiceControl& services;
  FileSystem& files;
  Machine& machine;
  Processes& processes;
  Network& network;
};
