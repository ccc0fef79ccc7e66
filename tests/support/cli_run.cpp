// A command run on a lab as the lab edition runs it, with its console and install log recorded.
#include "support/cli_run.h"

#include <sstream>

#include "cli/console.h"
#include "cli/run_command_line.h"
#include "platform/lab/lab_files.h"
#include "platform/lab/lab_machine.h"

namespace {
// A string buffer that tells once when the first text arrives.
class TellingBuffer : public std::stringbuf {
 public:
  explicit TellingBuffer(std::function<void()> onFirst) : onFirst_(std::move(onFirst)) {}

 protected:
  std::streamsize xsputn(const char* text, std::streamsize count) override {
    Tell();
    return std::stringbuf::xsputn(text, count);
  }
  int_type overflow(int_type c) override {
    Tell();
    return std::stringbuf::overflow(c);
  }

 private:
  void Tell() {
    if (!onFirst_) return;
    const std::function<void()> onFirst = std::move(onFirst_);
    onFirst_ = nullptr;
    onFirst();
  }
  std::function<void()> onFirst_;
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}
}  // namespace

CliRun RunCli(Lab& lab, const std::vector<std::wstring>& words, bool errIsTerminal,
              const std::function<void()>& onFirstError) {
  CliRun run;
  std::ostringstream out;
  TellingBuffer errBuffer(onFirstError);
  std::ostream err(&errBuffer);
  StreamConsole console(out, err, errIsTerminal);
  Platform platform = lab.MakePlatform();
  CliContext context;
  HostFileSystem hostFiles;
  context.hostFiles = &hostFiles;
  context.platform = &platform;
  context.log = &run.log;
  context.console = &console;
  lab.MachineInfo().PinLocalTime({2026, 12, 8, 14, 30, 5});
  run.exitCode = RunCommandLine(words, context);
  run.out = Lines(out.str());
  run.err = Lines(errBuffer.str());
  return run;
}

bool AnyLineHolds(const std::vector<std::string>& lines, const std::string& text) {
  for (const std::string& line : lines) {
    if (line.find(text) != std::string::npos) return true;
  }
  return false;
}

std::vector<std::wstring> Words(const std::wstring& line) {
  std::vector<std::wstring> words;
  std::wistringstream split(line);
  for (std::wstring word; split >> word;) words.push_back(word);
  return words;
}
