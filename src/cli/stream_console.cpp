// A console over two C++ streams, UTF-8 with LF line ends: the lab edition's, and the tests'.
#include <ostream>

#include "cli/console.h"
#include "common/text_encoding.h"

void StreamConsole::WriteOut(const std::wstring& line) {
  // Flushed line by line, so that output and error lines reach a shared terminal in the order written.
  out_ << Utf8FromWide(line) << '\n' << std::flush;
}

void StreamConsole::WriteErr(const std::wstring& line) { err_ << Utf8FromWide(line) << '\n' << std::flush; }
