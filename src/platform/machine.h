// Facts about this computer and the desktop the program runs on, and the clock its waits are measured by.
#pragma once

#include <cstdint>
#include <string>

#include "common/local_date_time.h"
#include "common/status.h"

class Machine {
 public:
  virtual ~Machine() = default;

  // GetComputerNameW: the NetBIOS name, at most 255 characters.
  [[nodiscard]] virtual Status QueryComputerName(std::wstring* name) = 0;

  // Milliseconds from some fixed moment (GetTickCount64): what a wait for a started process is
  // measured by. In a lab it is the lab's clock, which a wait for a slow process moves forward.
  virtual std::uint64_t NowMilliseconds() = 0;

  // Sleep: holds the calling thread for `milliseconds`. In a lab the lab's clock moves on instead,
  // as it does for a wait for a slow process.
  virtual void Sleep(std::uint32_t milliseconds) = 0;

  // GetLocalTime: what the program's reports are dated by.
  virtual LocalDateTime LocalTime() = 0;

  // The folder for data of all users (%ProgramData%, SHGetKnownFolderPath), as a Windows path.
  [[nodiscard]] virtual Status QueryProgramDataFolder(std::wstring* folder) = 0;

  // The folder of the lab that stands in for this computer, as this computer names it; empty
  // when the program runs on the real system. What a run on a lab says of itself, and its report.
  virtual std::wstring LabFolder() { return {}; }
};

// This computer's name as the wizard presets and reports it: at most 255 characters, as the entry takes it; empty
// when the system cannot tell.
inline std::wstring LocalComputerName(Machine& machine) {
  std::wstring name;
  if (machine.QueryComputerName(&name) != status::Success) return {};
  if (name.size() > 255) name.resize(255);
  return name;
}
