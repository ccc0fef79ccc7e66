// What a run without a window tells the person who started it: each line on the console, and in the install log.
#include "cli/cli_output.h"

#include "log/install_log.h"
#include "cli/console.h"

void CliOutput::Say(const std::wstring& text) {
  Write(text, false);
  log_.Info(text);
}

void CliOutput::Problem(const std::wstring& text) {
  Write(text, true);
  log_.Error(text);
}

void CliOutput::Show(const std::wstring& text) { Write(text, false); }

void CliOutput::ShowProblem(const std::wstring& text) { Write(text, true); }

void CliOutput::Progress(const std::wstring& text) {
  if (!console_.ErrIsTerminal()) return;
  const std::lock_guard<std::mutex> lock(mutex_);
  console_.WriteErr(text);
}

void CliOutput::Write(const std::wstring& text, bool error) {
  const std::lock_guard<std::mutex> lock(mutex_);
  // Boxes end their lines with CR LF and leave blank lines between paragraphs; a console line
  // is one line of text, and a blank one says nothing.
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find_first_of(L"\r\n", start);
    if (end == std::wstring::npos) end = text.size();
    const std::wstring line = text.substr(start, end - start);
    if (!line.empty() || text.empty()) error ? console_.WriteErr(line) : console_.WriteOut(line);
    if (end == text.size()) break;
    start = end + 1;
  }
}
