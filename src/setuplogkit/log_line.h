// How SetupLogKit lays out one log line; kept apart from the file writing so that it is testable.
#pragma once

#include <string>

struct LogTime {
  int year, month, day, hour, minute, second, millisecond;
};

// "2026-12-08 04:30:51.123 DuplexSetup INFO  message" followed by `lineEnd`, in UTF-8.
// Line breaks inside the message become `lineEnd` plus an indent, so that one call stays
// one entry and no continuation can be mistaken for a new entry.
std::string FormatLogLine(const LogTime& time, const std::wstring& source, int messageClass,
                          const std::wstring& message, const char* lineEnd);
