// A server's log lines and owner-less boxes kept while it is read beside another, written out afterwards in order.
#include "nodes/buffered_log.h"

void BufferedLog::Write(const std::wstring& message, LogClass messageClass) {
  entries_.push_back({message, messageClass, false});
}

void BufferedLog::Show(const std::wstring& text) { entries_.push_back({text, LogClass::LogError, true}); }

void BufferedLog::WriteTo(InstallLog& log, OwnerlessMessageBox& box) {
  for (const Entry& entry : entries_) {
    if (entry.box) {
      box.Show(entry.text);
    } else {
      log.Write(entry.text, entry.messageClass);
    }
  }
  entries_.clear();
}
