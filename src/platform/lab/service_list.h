// Reads a server's services as `sc queryex state= all` prints them (services.txt of a lab server).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct LabService {
  std::wstring name;        // the service name (not the display name)
  std::uint32_t state = 0;  // 1 stopped, 2 start pending, 3 stop pending, 4 running ... 7 paused
};

struct ServiceListError {
  int line = 0;  // 1-based line of the file where the problem starts
  std::string reason;
};

// Blocks that begin "SERVICE_NAME: name" and carry a "STATE : n WORD" field; every other field
// of a block is accepted and skipped, since Windows versions print different ones. UTF-8 or
// UTF-16LE with byte-order mark, CR LF or LF. A line that is not well-formed stops the read with
// its line number and leaves `services` untouched: nothing is guessed.
bool ReadServiceList(const std::string& bytes, std::vector<LabService>* services, ServiceListError* error);
