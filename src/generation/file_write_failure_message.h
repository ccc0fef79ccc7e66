// What the user is told when one of the wizard's files could not be written.
#pragma once

#include <string>

#include "common/status.h"
#include "platform/files.h"

// "Unable to open the file %s. rc = %ld" and its companions for the write and the replacement,
// filled with the path and the code.
std::wstring FileWriteFailureMessage(FileWriteStep failedStep, const std::wstring& path, Status rc);
