// Lab programs on Windows: the bundled stand-ins are POSIX scripts, so a lab named to the Windows
// program (a dry run) starts cmd and nothing after it, as a machine without the product would.
#include "platform/lab/lab_spawn.h"

Status StartLabProgram(const LabProgramRun& /*run*/, std::unique_ptr<LabRunningProgram>* /*running*/) {
  return status::NotSupported;
}
