// The story a scenario run tells, one line at a time, and the doubles that write the wizard's side of it.
#include "scenario/transcript.h"

#include <algorithm>

#include "common/text_encoding.h"

std::string VisibleText(const std::wstring& text) {
  std::wstring visible;
  for (const wchar_t c : text) {
    switch (c) {
      case L'\r': visible += L"\\r"; break;
      case L'\n': visible += L"\\n"; break;
      case L'\t': visible += L"\\t"; break;
      default: visible += c;
    }
  }
  return Utf8FromWide(visible);
}

std::vector<std::string> SplitTranscript(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

std::string FirstDifference(const std::vector<std::string>& expected, const std::vector<std::string>& actual) {
  const std::size_t common = std::min(expected.size(), actual.size());
  std::size_t index = 0;
  while (index < common && expected[index] == actual[index]) ++index;
  if (index == expected.size() && index == actual.size()) return {};
  auto lineOf = [index](const std::vector<std::string>& lines) {
    return index < lines.size() ? lines[index] : std::string("(end of output)");
  };
  return "line " + std::to_string(index + 1) + " differs\n  expected: " + lineOf(expected) +
         "\n  actual:   " + lineOf(actual);
}

void TranscriptLog::Write(const std::wstring& message, LogClass messageClass) {
  const char* tag = messageClass == LogClass::LogError     ? "log error: "
                    : messageClass == LogClass::LogWarning ? "log warning: "
                                                           : "log info: ";
  transcript_.Add(tag + VisibleText(message));
}

void TranscriptOwnerlessBox::Show(const std::wstring& text) { transcript_.Add("box [Error]: " + VisibleText(text)); }
