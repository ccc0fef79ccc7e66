// Reads regedit export files (.reg), version 5 (UTF-16LE) and REGEDIT4 (Windows-1252), into a registry tree.
#include "platform/lab/reg_file.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "common/text_case.h"
#include "common/text_encoding.h"
#include "platform/lab/lab_text.h"

namespace {

constexpr wchar_t kVersion5Header[] = L"Windows Registry Editor Version 5.00";
constexpr wchar_t kVersion4Header[] = L"REGEDIT4";

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// The reader works on views of the one decoded text, so that a file's size costs no copies of it.
std::wstring_view TrimLeft(std::wstring_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

std::wstring_view TrimRight(std::wstring_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The lines of `text` without their CR LF or LF; line i of the result is line i + 1 of the file.
std::vector<std::wstring_view> LinesOf(std::wstring_view text) {
  std::vector<std::wstring_view> lines;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find(L'\n'), text.size());
    std::wstring_view line = text.substr(0, end);
    if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
    lines.push_back(line);
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return lines;
}

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

// One export being read: the current key and the file's dialect.
class RegFileReader {
 public:
  RegFileReader(RegistryKeyNode& localMachine, RegFileError* error) : root_(localMachine), error_(error) {}

  bool Read(const std::string& bytes) {
    const std::wstring decoded = DecodeLabText(bytes, UnmarkedText::Windows1252);
    const std::vector<std::wstring_view> lines = LinesOf(decoded);
    std::size_t i = 0;
    while (i < lines.size() && TrimRight(lines[i]).empty()) ++i;
    if (i == lines.size()) return Fail(1, "the file is empty: no export header");
    const std::wstring_view header = TrimRight(lines[i]);
    if (header == kVersion5Header) {
      unicode_ = true;
    } else if (header == kVersion4Header) {
      unicode_ = false;
    } else {
      return Fail(static_cast<int>(i) + 1,
                  "not a registry export: the first line must be \"Windows Registry Editor "
                  "Version 5.00\" or \"REGEDIT4\"");
    }
    for (++i; i < lines.size(); ++i) {
      line_ = static_cast<int>(i) + 1;
      const std::wstring_view text = TrimRight(TrimLeft(lines[i]));
      if (text.empty() || text[0] == L';') continue;
      if (text[0] == L'[') {
        if (!ReadKeyLine(text)) return false;
        continue;
      }
      if (text[0] != L'"' && text[0] != L'@') return Fail(line_, "not a key, value or comment line");
      // Long hex data continues on the following lines after ",\". Whether the value is hex is
      // asked once, of its first line, so that a value of thousands of lines is read in one pass.
      if (text.back() != L'\\' || !IsHexData(text)) {
        if (!ReadValueLine(text)) return false;
        continue;
      }
      std::wstring logical(text);
      while (logical.back() == L'\\' && i + 1 < lines.size()) {
        logical.pop_back();
        if (!EndsBeforeMoreBytes(logical)) {
          return Fail(static_cast<int>(i) + 1,
                      "a line that continues must end with \",\\\" (a comma before the backslash)");
        }
        logical += TrimRight(TrimLeft(lines[++i]));
      }
      if (!ReadValueLine(logical)) return false;
    }
    return true;
  }

 private:
  bool Fail(int line, const std::string& reason) {
    if (error_ != nullptr) *error_ = {line, reason};
    return false;
  }

  // Whether a value line holds hex bytes, the only data that continues on the next line. The name
  // is stepped over first, since a quoted name or text may itself contain "=hex" or a backslash.
  static bool IsHexData(std::wstring_view valueLine) {
    std::size_t pos = 1;
    if (valueLine[0] == L'"') {
      while (pos < valueLine.size() && valueLine[pos] != L'"') pos += valueLine[pos] == L'\\' ? 2 : 1;
      ++pos;
    }
    while (pos < valueLine.size() && IsBlank(valueLine[pos])) ++pos;
    if (pos >= valueLine.size() || valueLine[pos] != L'=') return false;
    ++pos;
    while (pos < valueLine.size() && IsBlank(valueLine[pos])) ++pos;
    return valueLine.substr(pos, 3) == L"hex";
  }

  // Whether hex data cut off here may go on with the next byte: Windows takes a continuation
  // only after a comma (or right after "hex:"), never in the middle of a byte or after one.
  static bool EndsBeforeMoreBytes(std::wstring_view hexLine) {
    const std::wstring_view trimmed = TrimRight(hexLine);
    return !trimmed.empty() && (trimmed.back() == L',' || trimmed.back() == L':');
  }

  bool ReadKeyLine(std::wstring_view text) {
    if (text.back() != L']') return Fail(line_, "a key line must end with ']'");
    std::wstring_view path = text.substr(1, text.size() - 2);
    const bool remove = !path.empty() && path[0] == L'-';
    if (remove) path.remove_prefix(1);
    const std::size_t slash = path.find(L'\\');
    const std::wstring rootName(path.substr(0, slash));
    if (!EqualsIgnoringAsciiCase(rootName, L"HKEY_LOCAL_MACHINE") && !EqualsIgnoringAsciiCase(rootName, L"HKLM")) {
      return Fail(line_, "only keys under HKEY_LOCAL_MACHINE belong in a server's registry");
    }
    const std::wstring relative(slash == std::wstring_view::npos ? std::wstring_view() : path.substr(slash + 1));
    if (!CheckKeyLimits(relative)) return false;
    if (remove) {
      root_.RemovePath(relative);
      current_ = nullptr;
      currentRemoved_ = true;
    } else {
      current_ = root_.CreatePath(relative);
      currentRemoved_ = false;
    }
    return true;
  }

  // What the registry refuses, refused here: it also keeps the tree to a depth a loop walks.
  bool CheckKeyLimits(const std::wstring& relative) {
    std::size_t depth = 0;
    std::size_t nameChars = 0;
    for (const wchar_t c : relative) {
      if (c != L'\\') {
        if (nameChars++ == 0) ++depth;
        if (nameChars > registry_limits::kMaxKeyNameChars)
          return Fail(line_, "a key name is longer than 255 characters");
        continue;
      }
      nameChars = 0;
    }
    if (depth > registry_limits::kMaxKeyDepth) return Fail(line_, "a key is more than 512 levels deep");
    return true;
  }

  // A quoted text with the \\ and \" escapes; `pos` starts at the opening quote and ends after the closing one.
  bool ReadQuoted(std::wstring_view text, std::size_t& pos, std::wstring* out) {
    ++pos;
    while (pos < text.size()) {
      const wchar_t c = text[pos++];
      if (c == L'"') return true;
      if (c == L'\\') {
        if (pos >= text.size()) break;
        const wchar_t escaped = text[pos++];
        if (escaped != L'\\' && escaped != L'"') return Fail(line_, "unknown escape in a quoted text");
        *out += escaped;
        continue;
      }
      *out += c;
    }
    return Fail(line_, "a quoted text is not closed");
  }

  bool ReadValueLine(std::wstring_view text) {
    if (current_ == nullptr) {
      return Fail(line_, currentRemoved_ ? "a value under a key that is being deleted" : "a value before any key line");
    }
    RegistryValue value;
    std::size_t pos = 0;
    if (text[0] == L'@') {
      pos = 1;
    } else if (!ReadQuoted(text, pos, &value.name)) {
      return false;
    }
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    if (pos >= text.size() || text[pos] != L'=') return Fail(line_, "expected '=' after the value name");
    ++pos;
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    const std::wstring_view data = text.substr(pos);
    if (data == L"-") {
      current_->RemoveValue(value.name);
      return true;
    }
    if (!data.empty() && data[0] == L'"') {
      std::size_t quotePos = 0;
      std::wstring string;
      if (!ReadQuoted(data, quotePos, &string)) return false;
      if (!TrimLeft(data.substr(quotePos)).empty()) return Fail(line_, "text after the closing quote");
      value.type = regtype::String;
      value.data = Utf16LeBytesFromWide(string);
      value.data.push_back(0);
      value.data.push_back(0);
    } else if (data.substr(0, 6) == L"dword:") {
      if (!ReadDword(data.substr(6), &value)) return false;
    } else if (data.substr(0, 3) == L"hex") {
      if (!ReadHex(data.substr(3), &value)) return false;
    } else if (const std::wstring type(data.substr(0, 6));
               StartsWithIgnoringAsciiCase(type, L"dword:") || StartsWithIgnoringAsciiCase(type, L"hex")) {
      // regedit and reg import know the types in lower case only.
      return Fail(line_, "a type is written in lower case: dword:, hex: or hex(n):");
    } else {
      return Fail(line_, "unrecognised value data (expected a quoted text, dword:, hex: or hex(n):)");
    }
    current_->SetValue(std::move(value));
    return true;
  }

  bool ReadDword(std::wstring_view digits, RegistryValue* value) {
    if (digits.empty() || digits.size() > 8) return Fail(line_, "dword: needs one to eight hex digits");
    std::uint32_t number = 0;
    for (const wchar_t c : digits) {
      const int digit = HexDigit(c);
      if (digit < 0) return Fail(line_, "dword: needs one to eight hex digits");
      number = (number << 4) | static_cast<std::uint32_t>(digit);
    }
    value->type = regtype::Dword;
    value->data = {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
                   static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)};
    return true;
  }

  // After "hex": either ":" (binary) or "(n):" with the type number in hex, then comma-separated bytes.
  bool ReadHex(std::wstring_view rest, RegistryValue* value) {
    std::size_t pos = 0;
    value->type = regtype::Binary;
    if (pos < rest.size() && rest[pos] == L'(') {
      const std::size_t close = rest.find(L')', pos);
      if (close == std::wstring_view::npos || close == pos + 1) return Fail(line_, "hex(n): needs a type number");
      std::uint32_t type = 0;
      for (std::size_t k = pos + 1; k < close; ++k) {
        const int digit = HexDigit(rest[k]);
        if (digit < 0 || type > 0x0FFFFFFF) return Fail(line_, "hex(n): the type must be a hex number");
        type = (type << 4) | static_cast<std::uint32_t>(digit);
      }
      value->type = type;
      pos = close + 1;
    }
    if (pos >= rest.size() || rest[pos] != L':') return Fail(line_, "expected ':' after hex");
    std::wstring_view items = rest.substr(pos + 1);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(items.size() / 3 + 1);
    for (;;) {
      const std::size_t comma = items.find(L',');
      const std::wstring_view item = TrimRight(TrimLeft(items.substr(0, comma)));
      const bool last = comma == std::wstring_view::npos;
      if (item.empty() && last && bytes.empty()) break;  // "hex:" with no data
      if (item.empty() || item.size() > 2) return Fail(line_, "hex data must be bytes of two hex digits");
      int number = 0;
      for (const wchar_t c : item) {
        const int digit = HexDigit(c);
        if (digit < 0) return Fail(line_, "hex data must be bytes of two hex digits");
        number = number * 16 + digit;
      }
      bytes.push_back(static_cast<std::uint8_t>(number));
      if (last) break;
      items.remove_prefix(comma + 1);
    }
    // REGEDIT4 writes expandable and multi-strings as Windows-1252 text; the registry holds
    // UTF-16LE. Text without its terminating NUL gets one, as reg import gives it.
    if (!unicode_ && (value->type == regtype::ExpandString || value->type == regtype::MultiString)) {
      if (!bytes.empty() && bytes.back() != 0) bytes.push_back(0);
      value->data = Utf16LeBytesFromWide(WideFromWindows1252(std::string(bytes.begin(), bytes.end())));
    } else {
      value->data = std::move(bytes);
    }
    return true;
  }

  RegistryKeyNode& root_;
  RegFileError* error_;
  RegistryKeyNode* current_ = nullptr;
  bool currentRemoved_ = false;
  bool unicode_ = true;
  int line_ = 0;
};

}  // namespace

bool ReadRegFile(const std::string& bytes, RegistryKeyNode& localMachine, RegFileError* error) {
  return RegFileReader(localMachine, error).Read(bytes);
}
