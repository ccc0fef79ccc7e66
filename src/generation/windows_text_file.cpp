// The single-byte text files the wizard keeps, in both directions: lines to bytes and back.
#include "generation/windows_text_file.h"

#include "common/text_characters.h"
#include "common/text_encoding.h"

Status WindowsTextFile(const std::vector<std::wstring>& lines, std::string* bytes) {
  bytes->clear();
  std::string text;
  for (const std::wstring& line : lines) {
    if (FirstCharacterBeyondSingleByte(line)) return status::NoUnicodeTranslation;
    text += SingleByteFromWide(line) + "\r\n";
  }
  *bytes = std::move(text);
  return status::Success;
}

std::vector<std::wstring> SplitTextLines(const std::string& bytes) {
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    const bool hasLineEnd = end != std::string::npos;
    if (!hasLineEnd) end = bytes.size();
    std::size_t length = end - start;
    if (hasLineEnd && length > 0 && bytes[end - 1] == '\r') --length;
    lines.push_back(WideFromSingleByte(bytes.substr(start, length)));
    start = hasLineEnd ? end + 1 : end;
  }
  return lines;
}
