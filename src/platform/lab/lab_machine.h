// The lab's answer to "which computer is this".
#pragma once

#include <string>

#include "platform/machine.h"

class LabMachine : public Machine {
 public:
  explicit LabMachine(std::wstring computerName) : computerName_(std::move(computerName)) {}
  Status QueryComputerName(std::wstring* name) override {
    *name = computerName_;
    return status::Success;
  }

 private:
  std::wstring computerName_;
};
