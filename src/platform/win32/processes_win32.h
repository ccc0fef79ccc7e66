// Starting a process with CreateProcessW, never by a search, and waiting on it; codes come from GetLastError unchanged.
#pragma once

#include "platform/processes.h"

class Win32Processes : public Processes {
 public:
  Status Start(const std::wstring& commandLine, const std::wstring& currentDirectory,
               std::unique_ptr<StartedProcess>* process) override;
};
