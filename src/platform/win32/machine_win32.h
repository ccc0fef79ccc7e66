// This computer's name, the tick clock and the owner-less message box, from the real system.
#pragma once

#include "platform/machine.h"

class Win32Machine : public Machine {
 public:
  Status QueryComputerName(std::wstring* name) override;
  std::uint64_t NowMilliseconds() override;
};

class Win32OwnerlessMessageBox : public OwnerlessMessageBox {
 public:
  void Show(const std::wstring& text) override;
};
