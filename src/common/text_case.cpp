// Letter-case helpers that behave the same on every platform and in every locale.
#include "common/text_case.h"

namespace {
wchar_t LowerAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }
}  // namespace

std::wstring ToLowerAscii(std::wstring text) {
  for (auto& c : text) c = LowerAscii(c);
  return text;
}

bool EqualsIgnoringAsciiCase(const std::wstring& a, const std::wstring& b) {
  return a.size() == b.size() && StartsWithIgnoringAsciiCase(a, b);
}

bool StartsWithIgnoringAsciiCase(const std::wstring& text, const std::wstring& prefix) {
  if (prefix.size() > text.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (LowerAscii(text[i]) != LowerAscii(prefix[i])) return false;
  }
  return true;
}
