// The printf-style formatter every message and log line goes through (%s, %ld, %d, %%).
#pragma once

#include <initializer_list>
#include <string>
#include <variant>

// One argument of a message: wide text or a number.
class FormatArg {
 public:
  FormatArg(const std::wstring& text) : value_(text) {}                        // NOLINT: implicit by design
  FormatArg(const wchar_t* text) : value_(std::wstring(text)) {}               // NOLINT
  FormatArg(long long number) : value_(number) {}                              // NOLINT
  FormatArg(long number) : value_(static_cast<long long>(number)) {}           // NOLINT
  FormatArg(int number) : value_(static_cast<long long>(number)) {}            // NOLINT
  FormatArg(unsigned int number) : value_(static_cast<long long>(number)) {}   // NOLINT
  FormatArg(unsigned long number) : value_(static_cast<long long>(number)) {}  // NOLINT

  std::wstring ToText() const;

 private:
  std::variant<std::wstring, long long> value_;
};

// Fills the placeholders of `pattern` in order. A placeholder without an argument
// stays as written, an argument without a placeholder is ignored: a message is
// never cut short or read out of bounds.
std::wstring FormatText(const std::wstring& pattern, std::initializer_list<FormatArg> args);
