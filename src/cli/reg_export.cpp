// Registry keys written as regedit exports them (version 5: UTF-16LE with byte-order mark, CR LF).
#include "cli/reg_export.h"

#include "common/text_encoding.h"

namespace {
constexpr std::uint32_t kString = 1;
constexpr std::uint32_t kBinary = 3;
constexpr std::uint32_t kDword = 4;
// regedit breaks a line of hex bytes once it reaches this many characters, and goes on after
// two blanks on the next.
constexpr std::size_t kHexLineChars = 77;

std::wstring Quoted(const std::wstring& text) {
  std::wstring quoted = L"\"";
  for (const wchar_t c : text) {
    if (c == L'\\' || c == L'"') quoted += L'\\';
    quoted += c;
  }
  return quoted + L"\"";
}

// The text of REG_SZ data that reads back as the same bytes: UTF-16LE, even in length, one
// terminator at the end and none before, no control character (a line break would end the line).
bool AsPlainText(const std::vector<std::uint8_t>& data, std::wstring* text) {
  if (data.size() < 2 || data.size() % 2 != 0) return false;
  if (data[data.size() - 1] != 0 || data[data.size() - 2] != 0) return false;
  *text = WideFromUtf16LeBytes(data.data(), data.size() - 2);
  for (const wchar_t c : *text) {
    if (c < 0x20 || c == 0x7F) return false;
  }
  return true;
}

wchar_t HexDigit(unsigned value) { return static_cast<wchar_t>(value < 10 ? L'0' + value : L'a' + (value - 10)); }

std::wstring HexType(std::uint32_t type) {
  if (type == kBinary) return L"hex:";
  std::wstring digits;
  do {
    digits.insert(digits.begin(), HexDigit(type % 16));
    type /= 16;
  } while (type != 0);
  return L"hex(" + digits + L"):";
}
}  // namespace

void RegExport::Key(const std::wstring& pathBelowLocalMachine) {
  text_ += L"\r\n[HKEY_LOCAL_MACHINE\\" + pathBelowLocalMachine + L"]\r\n";
}

void RegExport::Value(const std::wstring& name, std::uint32_t type, const std::vector<std::uint8_t>& data) {
  std::wstring line = name.empty() ? std::wstring(L"@") : Quoted(name);
  line += L'=';
  std::wstring text;
  if (type == kString && AsPlainText(data, &text)) {
    text_ += line + Quoted(text) + L"\r\n";
    return;
  }
  if (type == kDword && data.size() == 4) {
    const std::uint32_t number =
        data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<std::uint32_t>(data[3]) << 24);
    std::wstring digits(8, L'0');
    for (int i = 0; i < 8; ++i) digits[static_cast<std::size_t>(7 - i)] = HexDigit((number >> (4 * i)) & 0xF);
    text_ += line + L"dword:" + digits + L"\r\n";
    return;
  }
  line += HexType(type);
  std::size_t lineChars = line.size();
  for (std::size_t i = 0; i < data.size(); ++i) {
    line += HexDigit(data[i] >> 4);
    line += HexDigit(data[i] & 0xF);
    if (i + 1 == data.size()) break;
    line += L',';
    lineChars += 3;
    if (lineChars >= kHexLineChars) {
      line += L"\\\r\n  ";
      lineChars = 2;
    }
  }
  text_ += line + L"\r\n";
}

std::string RegExport::Bytes() const {
  const std::vector<std::uint8_t> utf16 = Utf16LeBytesFromWide(text_ + L"\r\n");
  std::string bytes = "\xFF\xFE";
  bytes.append(utf16.begin(), utf16.end());
  return bytes;
}
