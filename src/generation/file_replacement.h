// What the user is told when one of the wizard's files could not be written.
#pragma once

#include <string>

#include "common/status.h"
#include "platform/files.h"

// "Unable to open the file %s. rc = %ld" and its companions for the write and the replacement,
// filled with the path and the code.
std::wstring FileReplacementFailure(FileWriteStep failedStep, const std::wstring& path, Status rc);

// Joins lines into a file's single-byte text, each ended by CR LF as a Windows text file is.
std::string WindowsTextFile(const std::wstring* lines, std::size_t count);
