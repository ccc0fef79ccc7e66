// A box a run without a window cannot show: its text on standard error, and in the log as an error.
#pragma once

#include "cli/cli_output.h"
#include "nodes/ownerless_message_box.h"

class ProblemBox : public OwnerlessMessageBox {
 public:
  explicit ProblemBox(CliOutput& output) : output_(output) {}
  void Show(const std::wstring& text) override { output_.Problem(text); }

 private:
  CliOutput& output_;
};
