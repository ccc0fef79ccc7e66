// How SetupLogKit lays out one log line.
#include "setuplogkit/log_line.h"

#include <cstdio>

#include "common/text_encoding.h"

namespace {
std::string ClassName(int messageClass) {
  switch (messageClass) {
    case 0: return "ERROR";
    case 1: return "WARN ";
    case 2: return "INFO ";
    default: return "CLASS" + std::to_string(messageClass);
  }
}
}  // namespace

std::string FormatLogLine(const LogTime& time, const std::wstring& source, int messageClass,
                          const std::wstring& message, const char* lineEnd) {
  char stamp[40];
  std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d.%03d ", time.year, time.month, time.day, time.hour,
                time.minute, time.second, time.millisecond);
  std::string line = stamp;
  line += Utf8FromWide(source);
  line += ' ';
  line += ClassName(messageClass);
  line += ' ';
  const std::string text = Utf8FromWide(message);
  const std::string continuation = std::string(lineEnd) + "    ";
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      line += continuation;
    } else if (text[i] == '\n') {
      line += continuation;
    } else {
      line += text[i];
    }
  }
  line += lineEnd;
  return line;
}
