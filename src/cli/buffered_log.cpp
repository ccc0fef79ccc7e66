// A server's log lines and owner-less boxes kept while it is read on a thread of its own, written out afterwards in
// order.
#include "cli/buffered_log.h"

#include "cli/cli_output.h"

void BufferedLog::Write(const std::wstring& message, LogClass messageClass) {
  entries_.push_back({message, messageClass, false});
}

void BufferedLog::Show(const std::wstring& text) { entries_.push_back({text, LogClass::LogError, true}); }

void BufferedLog::WriteTo(InstallLog& log, CliOutput& output) {
  for (const Entry& entry : entries_) {
    if (entry.box) {
      output.Problem(entry.text);
    } else {
      log.Write(entry.text, entry.messageClass);
    }
  }
  entries_.clear();
}
