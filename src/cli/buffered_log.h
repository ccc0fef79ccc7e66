// A server's log lines and owner-less boxes kept while it is read on a thread of its own, written out afterwards in
// order.
#pragma once

#include <string>
#include <vector>

#include "app/install_log.h"
#include "nodes/ownerless_message_box.h"

class CliOutput;

class BufferedLog : public InstallLog, public OwnerlessMessageBox {
 public:
  void Write(const std::wstring& message, LogClass messageClass) override;
  // The box a reading would show: on standard error when written out, and logged as an error.
  void Show(const std::wstring& text) override;

  // Writes every line and box in the order they came, then forgets them.
  void WriteTo(InstallLog& log, CliOutput& output);
  void Clear() { entries_.clear(); }

 private:
  struct Entry {
    std::wstring text;
    LogClass messageClass = LogClass::LogInfo;
    bool box = false;
  };
  std::vector<Entry> entries_;
};
