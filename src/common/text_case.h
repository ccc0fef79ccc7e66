// Letter-case helpers that behave the same on every platform and in every locale.
#pragma once

#include <string>

// A-Z become a-z; nothing else changes (as the entries' lower-case style does for host names).
std::wstring ToLowerAscii(std::wstring text);
bool EqualsIgnoringAsciiCase(const std::wstring& a, const std::wstring& b);
bool StartsWithIgnoringAsciiCase(const std::wstring& text, const std::wstring& prefix);
