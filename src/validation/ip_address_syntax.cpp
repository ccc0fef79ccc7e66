// The shape test for an address the user typed in dotted form.
#include "validation/ip_address_syntax.h"

namespace {
bool ContainsDigit(const std::wstring& piece) { return piece.find_first_of(L"0123456789") != std::wstring::npos; }
}  // namespace

bool IsValidIPAddress(std::wstring text) {
  std::wstring rest = std::move(text);
  for (int dots = 0; dots < 3; ++dots) {
    const auto dot = rest.find(L'.');
    if (dot == std::wstring::npos || !ContainsDigit(rest.substr(0, dot))) return false;
    rest.erase(0, dot + 1);
  }
  // The fourth piece is everything after the third dot.
  return !rest.empty() && ContainsDigit(rest);
}
