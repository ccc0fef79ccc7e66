// Shows the wait cursor for as long as it lives, so that every way out of a step restores it.
#pragma once

#include "wizard/wizard_view.h"

class BusyScope {
 public:
  explicit BusyScope(WizardView& view) : view_(view) { view_.SetBusy(true); }
  ~BusyScope() { view_.SetBusy(false); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  WizardView& view_;
};
