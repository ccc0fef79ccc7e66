// The runner's copies of labs go with it, also when it is stopped: one file per system
// (interrupt_cleanup_posix.cpp, interrupt_cleanup_win32.cpp).
#pragma once

#include <filesystem>
#include <memory>

// While it lives, a stop (SIGINT or SIGTERM; Ctrl+C or a console close on Windows) removes `folder`
// and then ends the process as the stop would have. Made before the program starts any thread,
// so that every thread leaves the stop to it.
class InterruptCleanup {
 public:
  explicit InterruptCleanup(std::filesystem::path folder);
  ~InterruptCleanup();
  InterruptCleanup(const InterruptCleanup&) = delete;
  InterruptCleanup& operator=(const InterruptCleanup&) = delete;

 private:
  struct State;
  std::unique_ptr<State> state_;
};
