// This computer's name and the tick clock, from the real system.
#pragma once

#include "platform/machine.h"

class Win32Machine : public Machine {
 public:
  Status QueryComputerName(std::wstring* name) override;
  std::uint64_t NowMilliseconds() override;
};
