// The lab's answer to "which computer is this" and "what time is it".
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/lab/lab_clock.h"
#include "platform/machine.h"

class LabMachine : public Machine {
 public:
  // `clock` is the one the lab's processes move on, shared with them; `labFolder` the lab's own.
  LabMachine(std::wstring computerName, std::shared_ptr<LabClock> clock, std::wstring labFolder)
      : computerName_(std::move(computerName)), clock_(std::move(clock)), labFolder_(std::move(labFolder)) {}
  Status QueryComputerName(std::wstring* name) override {
    *name = computerName_;
    return status::Success;
  }
  std::uint64_t NowMilliseconds() override { return clock_->Now(); }
  void Sleep(std::uint32_t milliseconds) override { clock_->Advance(milliseconds); }
  // This computer's own local time, unless a run pinned the lab's (scenarios, tests), so that
  // what is dated by it comes out the same on every run.
  LocalDateTime LocalTime() override;
  void PinLocalTime(const LocalDateTime& time) { pinnedTime_ = time; }
  // %ProgramData% of a Windows server: on the lab's drive C.
  Status QueryProgramDataFolder(std::wstring* folder) override {
    *folder = L"C:\\ProgramData";
    return status::Success;
  }
  std::wstring LabFolder() override { return labFolder_; }

 private:
  std::wstring computerName_;
  std::shared_ptr<LabClock> clock_;
  std::wstring labFolder_;
  std::optional<LocalDateTime> pinnedTime_;
};
