// A server's log lines and owner-less boxes kept while it is read beside another, written out afterwards in order.
#pragma once

#include <string>
#include <vector>

#include "log/install_log.h"
#include "nodes/ownerless_message_box.h"

class BufferedLog : public InstallLog, public OwnerlessMessageBox {
 public:
  void Write(const std::wstring& message, LogClass messageClass) override;
  void Show(const std::wstring& text) override;

  // Writes every line to `log` and shows every box in `box`, in the order they came, then forgets them.
  void WriteTo(InstallLog& log, OwnerlessMessageBox& box);
  void Clear() { entries_.clear(); }

 private:
  struct Entry {
    std::wstring text;
    LogClass messageClass = LogClass::LogInfo;
    bool box = false;
  };
  std::vector<Entry> entries_;
};
