// Text files a person writes or a server's tools print, as wide lines: UTF-8 or UTF-16LE, CR LF or LF.
#include "platform/lab/lab_text.h"

#include <cstdint>

#include "common/text_encoding.h"

std::wstring DecodeLabText(const std::string& bytes, UnmarkedText unmarked) {
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  if (bytes.size() >= 2 && data[0] == 0xFF && data[1] == 0xFE) return WideFromUtf16LeBytes(data + 2, bytes.size() - 2);
  if (bytes.size() >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) return WideFromUtf8(bytes.substr(3));
  return unmarked == UnmarkedText::Utf8 ? WideFromUtf8(bytes) : WideFromWindows1252(bytes);
}

std::wstring WideFromWindows1252(const std::string& bytes) {
  // 0x80 to 0x9F; every other byte is the Latin-1 character of its value.
  static constexpr char16_t kFrom0x80[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                             0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                             0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                             0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  std::wstring out;
  out.reserve(bytes.size());
  for (const char b : bytes) {
    const auto byte = static_cast<unsigned char>(b);
    out += static_cast<wchar_t>(byte >= 0x80 && byte < 0xA0 ? kFrom0x80[byte - 0x80] : byte);
  }
  return out;
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
