// This computer's name, its clocks and its data folder, from the real system.
#pragma once

#include "platform/machine.h"

class Win32Machine : public Machine {
 public:
  Status QueryComputerName(std::wstring* name) override;
  std::uint64_t NowMilliseconds() override;
  void Sleep(std::uint32_t milliseconds) override;
  LocalDateTime LocalTime() override;
  Status QueryProgramDataFolder(std::wstring* folder) override;
};
