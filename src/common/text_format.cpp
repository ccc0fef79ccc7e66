// The printf-style formatter every message and log line goes through.
#include "common/text_format.h"

#include <vector>

std::wstring FormatArg::ToText() const {
  if (const auto* text = std::get_if<std::wstring>(&value_)) return *text;
  return std::to_wstring(std::get<long long>(value_));
}

std::wstring FormatText(const std::wstring& pattern, std::initializer_list<FormatArg> args) {
  std::vector<FormatArg> remaining(args);
  std::size_t next = 0;
  std::wstring out;
  out.reserve(pattern.size() + 32);
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const wchar_t c = pattern[i];
    if (c != L'%' || i + 1 >= pattern.size()) {
      out += c;
      continue;
    }
    if (pattern[i + 1] == L'%') {
      out += L'%';
      ++i;
      continue;
    }
    std::size_t conversionAt = i + 1;
    if (pattern[conversionAt] == L'l' && conversionAt + 1 < pattern.size()) ++conversionAt;
    const wchar_t conversion = pattern[conversionAt];
    if ((conversion == L's' || conversion == L'd') && next < remaining.size()) {
      out += remaining[next++].ToText();
      i = conversionAt;
    } else {
      out += c;
    }
  }
  return out;
}
