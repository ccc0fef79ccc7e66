// Facts about this computer and the desktop the program runs on, and the clock its waits are measured by.
#pragma once

#include <cstdint>
#include <string>

#include "common/status.h"

// A local date and time as the computer's clock gives it (GetLocalTime).
struct LocalDateTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

class Machine {
 public:
  virtual ~Machine() = default;

  // GetComputerNameW: the NetBIOS name, at most 255 characters.
  virtual Status QueryComputerName(std::wstring* name) = 0;

  // Milliseconds from some fixed moment (GetTickCount64): what a wait for a started process is
  // measured by. In a lab it is the lab's clock, which a wait for a slow process moves forward.
  virtual std::uint64_t NowMilliseconds() = 0;

  // GetLocalTime: what the program's reports are dated by.
  virtual LocalDateTime LocalTime() = 0;

  // The folder for data of all users (%ProgramData%, SHGetKnownFolderPath), as a Windows path.
  virtual Status QueryProgramDataFolder(std::wstring* folder) = 0;
};
