// Reads regedit export files (.reg), version 5 (UTF-16LE) and REGEDIT4, into a registry tree.
#pragma once

#include <string>

#include "platform/lab/registry_tree.h"

struct RegFileError {
  int line = 0;  // 1-based line of the file where the problem starts
  std::string reason;
};

// Applies the keys and values of one export to `localMachine` (HKEY_LOCAL_MACHINE).
// A line that is not well-formed stops the read with its line number: nothing is guessed.
bool ReadRegFile(const std::string& bytes, RegistryKeyNode& localMachine, RegFileError* error);
