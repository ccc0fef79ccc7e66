// What SetupLogKit asks of the system it runs on: the local calendar time, the line end, and one line appended to the
// log.
#pragma once

#include <ctime>
#include <string>

// The calendar fields of `seconds` in local time.
std::tm LocalCalendarTime(std::time_t seconds);

// CR LF on Windows, LF elsewhere.
extern const char* const kLogLineEnd;

// Appends `line` to the log file (SETUPLOGKIT_LOG_FILE, or the system's default) in one write,
// so that no line is ever cut or mixed with another writer's. 0, or the code of the failed open
// or write (a Win32 error code on Windows, errno elsewhere).
int AppendToLogFile(const std::string& line);
