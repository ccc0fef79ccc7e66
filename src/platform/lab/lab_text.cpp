// Text files a person writes or a server's tools print, as wide lines: UTF-8 or UTF-16LE, CR LF or LF.
#include "platform/lab/lab_text.h"

#include <cstdint>

#include "common/text_encoding.h"

std::wstring DecodeLabText(const std::string& bytes, UnmarkedText unmarked) {
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  if (bytes.size() >= 2 && data[0] == 0xFF && data[1] == 0xFE) return WideFromUtf16LeBytes(data + 2, bytes.size() - 2);
  if (bytes.size() >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) return WideFromUtf8(bytes.substr(3));
  return unmarked == UnmarkedText::Utf8 ? WideFromUtf8(bytes) : WideFromSingleByte(bytes);
}

std::vector<std::wstring> SplitLabLines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    std::wstring line = text.substr(start, end - start);
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

std::wstring TrimBlanks(const std::wstring& text) {
  const auto first = text.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return {};
  return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}
