// This computer's name, from the real system.
#pragma once

#include "platform/machine.h"

class Win32Machine : public Machine {
 public:
  Status QueryComputerName(std::wstring* name) override;
};
