// A log and an owner-less box that keep nothing, for the benchmarks: what they would show costs no time there.
#pragma once

#include <string>

#include "log/install_log.h"
#include "nodes/ownerless_message_box.h"

class DiscardingLog : public InstallLog {
 public:
  void Write(const std::wstring&, LogClass) override {}
};

// Notes only that it was shown: a run that shows a box has failed.
class DiscardingBox : public OwnerlessMessageBox {
 public:
  void Show(const std::wstring&) override { shown = true; }
  bool shown = false;
};
