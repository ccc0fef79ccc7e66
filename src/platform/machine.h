// Facts about this computer and the desktop the program runs on.
#pragma once

#include <string>

#include "common/status.h"

class Machine {
 public:
  virtual ~Machine() = default;

  // GetComputerNameW: the NetBIOS name, at most 255 characters.
  virtual Status QueryComputerName(std::wstring* name) = 0;
};
